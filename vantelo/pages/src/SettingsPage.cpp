#include "SettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <iterator>

#include "AccessibleNames.h"
#include "BlockListDialog.h"
#include "PhoneLayout.h"
#include "PhoneSkin.h"
#include "SoundFileDialog.h"
#include "platform/IniStore.h"
#include "platform/TranslateNoop.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/QtText.h"
#include "widgets/SkinButton.h"

namespace vantelo::pages {

using vt::widgets::Q;

const SettingsPage::Slider SettingsPage::kSliders[7] = {
    {1092, 1099, 1149, 150, 300, 10, 160, &PhoneSettings::IntKeyTime,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "번호 하나가 눌러지는 시간")},
    {1093, 1100, 1150, 70, 300, 10, 100, &PhoneSettings::IntKeyDelay,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage",
                       "번호 하나를 누른 후 다음 번호 누를 때까지의 시간 ")},
    {1094, 1101, 1151, 60, 600, 10, 250, &PhoneSettings::IntFlashTime,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "착신 전환(FLASH) 시간")},
    {1095, 1102, 1152, 600, 3000, 100, 1000, &PhoneSettings::IntFlashDelay,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "착신 전환(FLASH) 후 대기 시간")},
    {1096, 1103, 1153, 0, 3000, 100, 1000, &PhoneSettings::IntExtDelay,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "외선 번호 송출 후 대기 시간 ")},
    {1097, 1104, 1154, 1000, 30000, 500, 5000, &PhoneSettings::IntAbsenceRingTime,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "자동 응답 사용시 링 대기 시간")},
    {1105, 1106, 1155, 1000, 20000, 500, 5000, &PhoneSettings::IntAbsenceTimeOut,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "상대 응답 선택시 상대 응답 없이 대기시간")},
};

namespace {

// Check box and edit of the three dialling prefixes.
struct Prefix {
    int check;
    int edit;
    int PhoneSettings::*flag;
    std::string PhoneSettings::*text;
};
constexpr Prefix kPrefixes[] = {
    {IDC_SP_IS_LOCAL, IDC_SP_STR_LOCAL, &PhoneSettings::IsLocal, &PhoneSettings::StrLocal},
    {IDC_SP_IS_EXT, IDC_SP_STR_EXT, &PhoneSettings::IsExt, &PhoneSettings::StrExt},
    {IDC_SP_IS_RECEIVE, IDC_SP_STR_RECEIVE, &PhoneSettings::IsReceive, &PhoneSettings::StrReceive},
};

// A check box that stands for one bit of a bit-set setting.
struct Bit {
    int check;
    int PhoneSettings::*setting;
    int bit;
};
constexpr Bit kBits[] = {
    {IDC_SP_REC_RECEIVED, &PhoneSettings::ModeRecAuto, kRecAutoReceived},
    {IDC_SP_REC_OUTGOING, &PhoneSettings::ModeRecAuto, kRecAutoOutgoing},
    {IDC_SP_GREETING_ONLY, &PhoneSettings::ModeAbsence, kAbsenceGreetingOnly},
    {IDC_SP_CALLER_CHOOSES, &PhoneSettings::ModeAbsence, kAbsenceCallerChooses},
};

constexpr int kHighCompression = 3;

// The choices of the language box and the `Language` values they store.
// A language is named in its own words, so a user finds theirs in any.
struct LanguageChoice {
    const char* setting;
    const char* name;
    bool translated;  // "automatic" is said in the user's language
};
constexpr LanguageChoice kLanguages[] = {
    {"auto", QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "자동"), true},
    {"ko", "한국어", false},
    {"en", "English", false},
};

QString Choice(const LanguageChoice& c) {
    return c.translated ? SettingsPage::tr(c.name) : QString::fromUtf8(c.name);
}

// The two message settings in whole seconds: spin box, range and tool tip.
struct SecondsField {
    int id;
    const int* range;
    int PhoneSettings::*setting;
    const char* tip;
    const char* zero;  // shown for 0, when 0 means something of its own
};
const SecondsField kSecondsFields[] = {
    {IDC_SP_MIN_MESSAGE, SettingsPage::kMinMessageRange, &PhoneSettings::IntAbsenceMinMessage,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage",
                       "이보다 짧은 메시지는 녹음 파일을 지웁니다 (통화 기록은 남습니다)."),
     ""},
    {IDC_SP_SILENCE, SettingsPage::kSilenceRange, &PhoneSettings::IntAbsenceSilence,
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage",
                       "이 시간 동안 소리가 없으면 메시지 녹음을 끝냅니다 (0: 사용 안 함)."),
     QT_TRANSLATE_NOOP("vantelo::pages::SettingsPage", "사용 안 함")},
};

}  // namespace

SettingsPage::SettingsPage(PageOwner& owner, const vt::widgets::SkinImages& skin, QWidget* parent)
    : QWidget(parent), owner_(owner), background_(skin.Image(IDB_SETTINGS_NORMAL)) {
    Build(skin);
    initialised_ = true;
}

void SettingsPage::Build(const vt::widgets::SkinImages& skin) {
    setFixedSize(background_.size());
    setFont(PhoneSkin::LabelFont(12));
    for (const Place& p : PhoneLayout::SettingsPageControls()) {
        QWidget* w = nullptr;
        const QString label = p.Label();
        switch (p.id) {
            case IDC_SP_COMPRESS:
                w = compress_ = new QComboBox(this);
                compress_->addItems({tr("압축안함"), tr("낮음"), tr("중간"), tr("높음")});
                break;
            case IDC_SP_LANGUAGE:
                w = language_ = new QComboBox(this);
                for (const LanguageChoice& c : kLanguages) language_->addItem(Choice(c));
                language_->setToolTip(tr("다음에 프로그램을 시작할 때부터 적용됩니다."));
                break;
            case IDC_SP_LANGUAGE_NOTE: {
                auto* note = new QLabel(label, this);
                note->setWordWrap(true);
                note->setFont(PhoneSkin::LabelFont(10));
                w = note;
                break;
            }
            case IDC_SP_GREETING_FILE:
                w = greeting_ = new QPlainTextEdit(this);
                greeting_->setTabChangesFocus(true);
                break;
            case IDC_SP_STR_LOCAL:
            case IDC_SP_STR_EXT:
            case IDC_SP_STR_RECEIVE:
            case IDC_SP_MAX_MESSAGE:
                w = new QLineEdit(this);  // Enter reaches the page: Ok
                break;
            case IDC_SP_MIN_MESSAGE:
            case IDC_SP_SILENCE:
                w = new QSpinBox(this);  // Enter reaches the page: Ok
                break;
            case IDC_SP_CAPTION_COMPRESS:
            case IDC_SP_CAPTION_MAX_MESSAGE:
            case IDC_SP_CAPTION_GREETING:
            case IDC_SP_CAPTION_MIN_MESSAGE:
            case IDC_SP_CAPTION_SILENCE:
            case IDC_SP_CAPTION_LANGUAGE:
                w = new QLabel(label, this);
                break;
            default:
                w = new QCheckBox(label, this);
                break;
        }
        w->setGeometry(p.Rect());
        controls_[p.id] = w;
    }
    // The two answering-machine options exclude each other when the user
    // checks one; both may be off. Loading sets them as stored.
    connect(Check(IDC_SP_GREETING_ONLY), &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            Check(IDC_SP_CALLER_CHOOSES)->setChecked(false);
    });
    connect(Check(IDC_SP_CALLER_CHOOSES), &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            Check(IDC_SP_GREETING_ONLY)->setChecked(false);
    });
    compress_->setCurrentIndex(kHighCompression);
    for (const SecondsField& f : kSecondsFields) {
        QSpinBox* box = Seconds(f.id);
        box->setRange(f.range[0], f.range[1]);
        box->setSpecialValueText(tr(f.zero));
        box->setToolTip(tr(f.tip));
        box->setValue(PhoneSettings{}.*(f.setting));
    }

    QRect block = PhoneLayout::kSliderColumn;
    for (const Slider& s : kSliders) {
        auto* caption = new QLabel(tr(s.text), this);
        caption->setGeometry(block.x(), block.y(), block.width(), 16);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setGeometry(block.x(), block.y() + 17, block.width() - 96, 24);
        slider->setRange(s.minimum, s.maximum);
        slider->setTickInterval(s.tick);
        slider->setSingleStep(s.tick);
        slider->setPageStep(s.tick);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setValue(s.defaultValue);
        auto* value = new QLabel(this);
        value->setGeometry(block.right() - 92, block.y() + 17, 92, 22);
        controls_[s.caption] = caption;
        controls_[s.id] = slider;
        controls_[s.valueLabel] = value;
        // The label follows every move once the page is set up, whether the
        // slider was dragged, clicked or moved by keys.
        connect(slider, &QSlider::valueChanged, this, [this, &s] {
            if (initialised_)
                WriteValueLabel(s);
        });
        block.translate(0, block.height());
    }

    const auto triple =
        PhoneSkin::Triple(skin, IDB_SETTINGS_NORMAL, IDB_SETTINGS_PRESSED, IDB_SETTINGS_HOVER);
    for (const Place& p : PhoneLayout::SettingsPageButtons()) {
        auto* b = PhoneSkin::Button(this, p, triple);
        controls_[p.id] = b;
        connect(b, &QAbstractButton::clicked, this,
                p.id == IDC_SP_OK             ? &SettingsPage::Ok
                : p.id == IDC_SP_DEFAULT_LOAD ? &SettingsPage::DefaultLoad
                : p.id == IDC_SP_BLOCK_LIST   ? &SettingsPage::OpenBlockList
                                              : &SettingsPage::ChooseGreeting);
    }
    // The skinned buttons take no focus; the editor is reached by keys too.
    auto* blockKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_B), this);
    blockKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(blockKey, &QShortcut::activated, this, &SettingsPage::OpenBlockList);
    AccessibleNames::Apply(AccessibleNames::SettingsPage(), [this](int id) { return Control(id); });

    // The address-book server, in the free corner beside the block list.
    auto* addressBook = new QPushButton(tr("주소록 서버..."), this);
    addressBook->setGeometry(520, 432, 92, 28);
    addressBook->setToolTip(tr("주소록 서버(CardDAV) 설정과 동기화 (Ctrl+D)"));
    addressBook->setAccessibleName(tr("주소록 서버 (Ctrl+D)"));
    connect(addressBook, &QPushButton::clicked, this, &SettingsPage::OpenAddressBook);
    auto* addressKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    addressKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(addressKey, &QShortcut::activated, this, &SettingsPage::OpenAddressBook);
}

void SettingsPage::OpenAddressBook() {
    if (!addressBook_) {
        addressBook_ =
            new CardDavDialog(vt::SettingsFilePath(), addressBookSaved_, syncAddressBook_, this);
        addressBook_->setAttribute(Qt::WA_DeleteOnClose);
    }
    addressBook_->open();
    addressBook_->raise();
    addressBook_->activateWindow();
}

QWidget* SettingsPage::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QCheckBox* SettingsPage::Check(int id) const {
    return qobject_cast<QCheckBox*>(Control(id));
}

QLineEdit* SettingsPage::Edit(int id) const {
    return qobject_cast<QLineEdit*>(Control(id));
}

QSlider* SettingsPage::SliderControl(int id) const {
    return qobject_cast<QSlider*>(Control(id));
}

QSpinBox* SettingsPage::Seconds(int id) const {
    return qobject_cast<QSpinBox*>(Control(id));
}

void SettingsPage::WriteValueLabel(const Slider& s) {
    auto* label = qobject_cast<QLabel*>(Control(s.valueLabel));
    label->setText(tr("(%1/1000초)").arg(SliderControl(s.id)->value()));
    label->repaint();
}

void SettingsPage::Load(const PhoneSettings& settings) {
    for (const Prefix& p : kPrefixes) {
        Check(p.check)->setChecked(settings.*(p.flag) != 0);
        Edit(p.edit)->setText(Q(settings.*(p.text)));
    }
    for (const Bit& b : kBits) Check(b.check)->setChecked((settings.*(b.setting) & b.bit) != 0);
    Edit(IDC_SP_MAX_MESSAGE)->setText(QString::number(settings.IntAbsenceMaxMessage));
    // A value the list does not have (a hand-edited file) shows as the
    // default rather than as no selection, which Ok would store as -1.
    const int compression = settings.ModeRecCompress;
    compress_->setCurrentIndex(
        compression >= 0 && compression < compress_->count() ? compression : kHighCompression);
    greeting_->setPlainText(Q(settings.StrAbsenceFile));
    int language = 0;  // an unknown value shows (and is saved) as automatic
    for (int i = 0; i < static_cast<int>(std::size(kLanguages)); ++i)
        if (settings.Language == kLanguages[i].setting)
            language = i;
    language_->setCurrentIndex(language);
    // A hand-edited value outside the range shows (and is saved) at its end.
    for (const SecondsField& f : kSecondsFields) Seconds(f.id)->setValue(settings.*(f.setting));
    for (const Slider& s : kSliders) {
        SliderControl(s.id)->setValue(settings.*(s.setting));
        WriteValueLabel(s);
    }
}

int SettingsPage::MaxMessageFromText(const QString& text) {
    bool number = false;
    int value = text.trimmed().toInt(&number);
    if (!number)
        value = 0;
    if (value < 10)
        return 10;
    if (value > 100)
        return 99;
    return value;
}

void SettingsPage::Ok() {
    PhoneSettings& settings = owner_.Phone().Settings();
    for (const Prefix& p : kPrefixes) {
        settings.*(p.flag) = Check(p.check)->isChecked() ? 1 : 0;
        settings.*(p.text) = Edit(p.edit)->text().toStdString();
    }
    settings.ModeRecAuto = 0;
    settings.ModeAbsence = 0;
    for (const Bit& b : kBits)
        if (Check(b.check)->isChecked())
            settings.*(b.setting) += b.bit;
    settings.StrAbsenceFile = greeting_->toPlainText().toStdString();
    settings.IntAbsenceMaxMessage = MaxMessageFromText(Edit(IDC_SP_MAX_MESSAGE)->text());
    Edit(IDC_SP_MAX_MESSAGE)->setText(QString::number(settings.IntAbsenceMaxMessage));
    settings.ModeRecCompress = compress_->currentIndex();
    settings.Language = kLanguages[std::max(language_->currentIndex(), 0)].setting;
    for (const SecondsField& f : kSecondsFields) {
        QSpinBox* box = Seconds(f.id);
        box->interpretText();  // digits typed but not yet taken count
        settings.*(f.setting) = box->value();
    }
    for (const Slider& s : kSliders) settings.*(s.setting) = SliderControl(s.id)->value();
    if (!owner_.Phone().SaveSettings())
        owner_.Inform(tr("설정을 파일에 저장하지 못했습니다."));
}

void SettingsPage::DefaultLoad() {
    for (const Slider& s : kSliders) {
        SliderControl(s.id)->setValue(s.defaultValue);
        WriteValueLabel(s);
    }
}

void SettingsPage::OpenBlockList() {
    if (!blockList_) {
        blockList_ = new BlockListDialog(database_, this);
        blockList_->setAttribute(Qt::WA_DeleteOnClose);
    }
    // Window-modal without a nested event loop.
    blockList_->open();
    blockList_->raise();
    blockList_->activateWindow();
}

void SettingsPage::ChooseGreeting() {
    const QString file = chooseGreeting_ ? chooseGreeting_() : SoundFileDialog::Choose(this);
    if (!file.isEmpty())
        greeting_->setPlainText(file);
}

void SettingsPage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, background_);
}

// Enter on the page is its default action, Ok.
void SettingsPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Ok();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vantelo::pages
