#include "vanconv/formTYPlus.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "vanconv/ContactFile.h"
#include "vanconv/ConverterTexts.h"
#include "widgets/FileDialogs.h"
#include "widgets/QtText.h"

namespace vanconv {

using vt::widgets::FileDialogs;
using vt::widgets::Q;

namespace {

// A text of the window in the user's language.
QString T(const char* text) {
    return *text ? QCoreApplication::translate("vanconv::text", text) : QString();
}

QStringList Filters(const char* const (&list)[3]) {
    QStringList out;
    for (const char* f : list) out << Q(f);
    return out;
}

}  // namespace

formTYPlus::formTYPlus(MainProgram& program, ConverterController::InstallFinder findInstall,
                       QWidget* parent)
    : QWidget(parent) {
    setObjectName("formTYPlus");
    setWindowTitle(T(text::kCaption));
    BuildControls();
    controller_ = std::make_unique<ConverterController>(*this, program, std::move(findInstall));
    controller_->Form_Load();
}

formTYPlus::~formTYPlus() = default;

void formTYPlus::BuildControls() {
    auto* root = new QVBoxLayout(this);

    const auto option = [this](Ctl id, const char* name, const char* caption, QButtonGroup* g,
                               int index) {
        auto* b = new QRadioButton(T(caption));
        b->setObjectName(QString("%1_%2").arg(name).arg(index));
        g->addButton(b, index);
        controls_[id] = b;
        return b;
    };

    // Direction.
    auto* direction = new QButtonGroup(this);
    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(option(Ctl::OptToMdb0, "optToMDB", text::kToVantelo, direction, 0));
    directionRow->addWidget(option(Ctl::OptToMdb1, "optToMDB", text::kToExcel, direction, 1));
    directionRow->addStretch();
    root->addLayout(directionRow);
    static_cast<QRadioButton*>(controls_[Ctl::OptToMdb0])->setChecked(true);
    connect(direction, &QButtonGroup::idClicked, this,
            [this](int id) { controller_->optToMDB_Click(id); });

    // Mode.
    auto* frmAppend = new QGroupBox(T(text::kModeFrame));
    frmAppend->setObjectName("frmAppend");
    controls_[Ctl::FrmAppend] = frmAppend;
    auto* mode = new QButtonGroup(this);
    auto* modeRow = new QHBoxLayout(frmAppend);
    modeRow->addWidget(option(Ctl::OptAppend0, "optAppend", text::kAppend, mode, 0));
    modeRow->addWidget(option(Ctl::OptAppend1, "optAppend", text::kReplace, mode, 1));
    static_cast<QRadioButton*>(controls_[Ctl::OptAppend0])->setChecked(true);
    root->addWidget(frmAppend);

    // Workbook.
    auto* fileRow = new QHBoxLayout;
    auto* open = new QPushButton(T(text::kFileOpen));
    open->setObjectName("cmdFileOpen");
    controls_[Ctl::CmdFileOpen] = open;
    auto* path = new QLabel;
    path->setObjectName("lblFilePath");
    path->setFrameShape(QFrame::Panel);
    path->setFrameShadow(QFrame::Sunken);
    path->setMinimumWidth(360);
    path->setAccessibleDescription(T(text::kFilePathName));
    controls_[Ctl::LblFilePath] = path;
    fileRow->addWidget(open);
    fileRow->addWidget(path, 1);
    root->addLayout(fileRow);
    connect(open, &QPushButton::clicked, this, [this] { controller_->cmdFileOpen_Click(); });

    // Sheet.
    auto* frmWorksheet = new QGroupBox;
    frmWorksheet->setObjectName("frmWorksheet");
    controls_[Ctl::FrmWorksheet] = frmWorksheet;
    auto* sheetRow = new QHBoxLayout(frmWorksheet);
    auto* sheet = new QComboBox;
    sheet->setObjectName("cboSheet");
    sheet->setMinimumWidth(220);
    controls_[Ctl::CboSheet] = sheet;
    auto* sheetCaption = new QLabel(T(text::kSheetLabel));
    sheetCaption->setBuddy(sheet);
    sheetRow->addWidget(sheetCaption);
    sheetRow->addWidget(sheet);
    sheetRow->addStretch();
    root->addWidget(frmWorksheet);
    connect(sheet, &QComboBox::activated, this, [this](int) { controller_->cboSheet_Click(); });

    // Row range.
    auto* frmDataLine = new QGroupBox;
    frmDataLine->setObjectName("frmDataLine");
    controls_[Ctl::FrmDataLine] = frmDataLine;
    auto* rowsRow = new QHBoxLayout(frmDataLine);
    const auto rowEdit = [this](Ctl id, const char* name, const char* accessibleName) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setAccessibleName(T(accessibleName));
        e->setMaximumWidth(80);
        e->setAlignment(Qt::AlignRight);
        controls_[id] = e;
        return e;
    };
    rowsRow->addWidget(new QLabel(T(text::kRowsLabel)));
    rowsRow->addWidget(rowEdit(Ctl::EdtStartRow, "edtStartRow", text::kStartRowName));
    rowsRow->addWidget(new QLabel(T(text::kRowsFrom)));
    rowsRow->addWidget(rowEdit(Ctl::EdtEndRow, "edtEndRow", text::kEndRowName));
    rowsRow->addWidget(new QLabel(T(text::kRowsTo)));
    rowsRow->addStretch();
    root->addWidget(frmDataLine);

    // Column mapping: two columns of eight lists.
    auto* frmData = new QGroupBox;
    frmData->setObjectName("frmData");
    controls_[Ctl::FrmData] = frmData;
    auto* grid = new QGridLayout(frmData);
    for (int f = 0; f < kFieldCount; ++f) {
        auto* box = new QComboBox;
        box->setObjectName(kConvertFields[f].listBox);
        box->setMinimumWidth(170);
        controls_[FieldList(f)] = box;
        auto* caption = new QLabel(T(kConvertFields[f].caption));
        caption->setBuddy(box);
        const int row = f % 8, column = (f / 8) * 2;
        grid->addWidget(caption, row, column);
        grid->addWidget(box, row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    root->addWidget(frmData);

    // Status and buttons.
    const auto status = [this, root](Ctl id, const char* name, const char* initial) {
        auto* l = new QLabel(T(initial));
        l->setObjectName(name);
        l->setWordWrap(true);
        l->setAccessibleDescription(T(text::kStatusName));
        controls_[id] = l;
        root->addWidget(l);
    };
    status(Ctl::LblTransState, "lblTransState", text::kTransHint);
    status(Ctl::LblState, "lblState", "");
    status(Ctl::LblState1, "lblState1", "");
    auto* buttons = new QHBoxLayout;
    auto* trans = new QPushButton(T(text::kTransDesign));
    trans->setObjectName("cmdTrans");
    trans->setMinimumWidth(120);
    controls_[Ctl::CmdTrans] = trans;
    auto* exit = new QPushButton(T(text::kExit));
    exit->setObjectName("cmdExit");
    exit->setMinimumWidth(120);
    controls_[Ctl::CmdExit] = exit;
    buttons->addStretch();
    buttons->addWidget(trans);
    buttons->addWidget(exit);
    root->addLayout(buttons);
    connect(trans, &QPushButton::clicked, this, [this] { controller_->cmdTrans_Click(); });
    connect(exit, &QPushButton::clicked, this, [this] { controller_->cmdExit_Click(); });
}

QWidget* formTYPlus::Control(Ctl id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void formTYPlus::SetText(Ctl id, const std::string& text) {
    QWidget* w = Control(id);
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(Q(text));
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(Q(text));
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(Q(text));
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(Q(text));
}

std::string formTYPlus::Text(Ctl id) const {
    QWidget* w = Control(id);
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text().toStdString();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text().toStdString();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText().toStdString();
    return {};
}

void formTYPlus::Enable(Ctl id, bool enabled) {
    if (QWidget* w = Control(id))
        w->setEnabled(enabled);
}

bool formTYPlus::Enabled(Ctl id) const {
    QWidget* w = Control(id);
    return w && w->isEnabled();
}

void formTYPlus::SetChecked(Ctl id, bool checked) {
    if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
        b->setChecked(checked);
}

bool formTYPlus::Checked(Ctl id) const {
    auto* b = qobject_cast<QAbstractButton*>(Control(id));
    return b && b->isChecked();
}

void formTYPlus::SetItems(Ctl id, const std::vector<std::string>& items) {
    auto* c = qobject_cast<QComboBox*>(Control(id));
    if (!c)
        return;
    c->clear();
    for (const auto& item : items) c->addItem(Q(item));
}

std::vector<std::string> formTYPlus::Items(Ctl id) const {
    std::vector<std::string> out;
    if (auto* c = qobject_cast<QComboBox*>(Control(id)))
        for (int i = 0; i < c->count(); ++i) out.push_back(c->itemText(i).toStdString());
    return out;
}

void formTYPlus::Select(Ctl id, int index) {
    if (auto* c = qobject_cast<QComboBox*>(Control(id)))
        c->setCurrentIndex(index);
}

int formTYPlus::Selected(Ctl id) const {
    auto* c = qobject_cast<QComboBox*>(Control(id));
    return c ? c->currentIndex() : -1;
}

std::string formTYPlus::ChooseOpenFile() {
    FileDialogs::Request request(FileDialogs::Kind::OpenFile, QString());
    request.filters = Filters(ContactFile::kOpenFilters);
    return FileDialogs::Choose(this, request).toStdString();
}

std::string formTYPlus::ChooseSaveFile(const std::string& title) {
    FileDialogs::Request request(FileDialogs::Kind::SaveFile, Q(title));
    request.filters = Filters(ContactFile::kSaveFilters);
    request.defaultSuffix = QStringLiteral("xlsx");
    const auto dialog = FileDialogs::Create(this, request);
    // The window has already said that an existing file is replaced.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    QFileDialog* shown = dialog.get();
    const QStringList filters = request.filters;
    connect(shown, &QFileDialog::filterSelected, shown, [shown, filters](const QString& f) {
        static const char* const kSuffixes[] = {"xlsx", "vcf", "csv"};
        const qsizetype i = filters.indexOf(f);
        if (i >= 0)
            shown->setDefaultSuffix(kSuffixes[i]);
    });
    return FileDialogs::Choose(*dialog).toStdString();
}

void formTYPlus::Inform(const std::string& text) {
    QMessageBox::information(this, windowTitle(), Q(text), QMessageBox::Ok);
}

bool formTYPlus::Confirm(const std::string& text, const std::string& title) {
    return QMessageBox::information(this, Q(title), Q(text), QMessageBox::Ok | QMessageBox::Cancel,
                                    QMessageBox::Ok) == QMessageBox::Ok;
}

// KeepAlive takes no user input, so the wait cursor is all a transfer needs.
void formTYPlus::SetBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void formTYPlus::KeepAlive() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void formTYPlus::Quit() {
    close();
    QApplication::quit();
}

}  // namespace vanconv
