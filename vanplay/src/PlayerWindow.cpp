#include "vanplay/PlayerWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include "vanplay/MessageHeard.h"
#include "vanplay/PlayerIds.h"
#include "vanplay/PlayerSkin.h"
#include "widgets/AccessibleRole.h"
#include "widgets/FileDialogs.h"
#include "widgets/PictureButton.h"
#include "widgets/QtText.h"
#include "widgets/QtTimerHost.h"
#include "widgets/SkinSlider.h"
#include "widgets/TransparentLabel.h"
#include "widgets/WindowDrag.h"
#include "widgets/WindowMessageEvent.h"

namespace vanplay {

using vt::widgets::FileDialogs;
using vt::widgets::PictureButton;
using vt::widgets::SkinSlider;
using vt::widgets::TransparentLabel;

namespace {

const QColor kLabelColour(64, 64, 196);

struct ButtonPictures {
    int id;
    int hot;
    int normal;
};

constexpr ButtonPictures kButtons[] = {
    {IDC_PLAY, IDB_PLAY_HOT, IDB_PLAY},    {IDC_PAUSE, IDB_PAUSE_HOT, IDB_PAUSE},
    {IDC_STOP, IDB_STOP_HOT, IDB_STOP},    {IDC_OPEN, IDB_OPEN_HOT, IDB_OPEN},
    {IDC_MP3, IDB_MP3_HOT, IDB_MP3},       {IDC_MINIMISE, IDB_MINIMISE_HOT, IDB_MINIMISE},
    {IDC_CLOSE, IDB_CLOSE_HOT, IDB_CLOSE},
};

// What assistive technology calls each control, in Tab order; the two
// labels are named by their texts and described here.
struct ControlName {
    int id;
    const char* name;
};

constexpr ControlName kNames[] = {
    {IDC_OPEN, QT_TRANSLATE_NOOP("vanplay", "파일 열기")},
    {IDC_PLAY, QT_TRANSLATE_NOOP("vanplay", "재생")},
    {IDC_PAUSE, QT_TRANSLATE_NOOP("vanplay", "일시 정지")},
    {IDC_STOP, QT_TRANSLATE_NOOP("vanplay", "정지")},
    {IDC_MP3, QT_TRANSLATE_NOOP("vanplay", "MP3로 내보내기")},
    {IDC_POSITION, QT_TRANSLATE_NOOP("vanplay", "재생 위치")},
    {IDC_VOLUME, QT_TRANSLATE_NOOP("vanplay", "음량")},
    {IDC_MINIMISE, QT_TRANSLATE_NOOP("vanplay", "최소화")},
    {IDC_CLOSE, QT_TRANSLATE_NOOP("vanplay", "닫기")},
};
constexpr ControlName kLabelRoles[] = {{IDC_TIME, QT_TRANSLATE_NOOP("vanplay", "재생 시간")},
                                       {IDC_STATUS, QT_TRANSLATE_NOOP("vanplay", "상태")}};

}  // namespace

PlayerWindow::PlayerWindow(vt::TimerHost* timers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowSystemMenuHint),
      messages_(this) {
    if (!timers)
        timers = ownTimers_ = new vt::widgets::QtTimerHost(nullptr, this);
    controller_ = std::make_unique<PlayerController>(*this, messages_, *timers);
    // A message of the phone played here is heard.
    controller_->SetOnPlaying([](const std::string& file) { MarkMessageHeard(file); });
    if (ownTimers_)
        ownTimers_->SetSink(controller_.get());

    // A frameless window is still the program's window to a screen reader.
    vt::widgets::SetAccessibleRole(*this, QAccessible::Window);
    PlayerSkin::PaintAll(skin_);
    setWindowTitle(kWindowTitle);
    setWindowIcon(QIcon(QPixmap::fromImage(skin_.Image(IDI_PROGRAM))));
    setFixedSize(PlayerSkin::kWindowWidth, PlayerSkin::kWindowHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Rounded corners: the skin's colour key outside its frame.
    setMask(vt::widgets::SkinImages::RegionFromShape(
        skin_.Image(IDB_SKIN).copy(0, 0, PlayerSkin::kWindowWidth, PlayerSkin::kWindowHeight)));
    BuildControls();
    new vt::widgets::WindowDrag(*this,
                                [](const QPoint& at) { return at.y() < PlayerSkin::kDragLimitY; });
}

PlayerWindow::~PlayerWindow() {
    messages_.Close();
    controller_->Close();
}

void PlayerWindow::BuildControls() {
    for (const auto& b : kButtons) {
        auto* button = new PictureButton(this);
        button->SetPictures(skin_.Keyed(b.hot), skin_.Keyed(b.normal));
        button->setGeometry(PlayerSkin::ControlRect(b.id));
        controls_[b.id] = button;
    }
    controls_[IDC_PAUSE]->hide();

    auto* position = new SkinSlider(Qt::Horizontal, this);
    position->setGeometry(PlayerSkin::ControlRect(IDC_POSITION));
    controls_[IDC_POSITION] = position;
    auto* volume = new SkinSlider(Qt::Vertical, this);
    volume->setGeometry(PlayerSkin::ControlRect(IDC_VOLUME));
    // Position 0 (full volume) at the top, where a volume slider has its loudest end.
    volume->setInvertedAppearance(true);
    volume->setInvertedControls(true);
    controls_[IDC_VOLUME] = volume;

    auto label = [this](int id, int pointSize) {
        auto* l = new TransparentLabel(this);
        l->setFont(vt::widgets::FixedsysFont(pointSize));
        l->setGeometry(PlayerSkin::ControlRect(id));
        l->SetTextColour(kLabelColour);
        controls_[id] = l;
        return l;
    };
    label(IDC_TIME, 12)->SetText(kTimeAtStart);
    label(IDC_STATUS, 10);

    auto clicked = [this](int id, auto action) {
        connect(static_cast<PictureButton*>(controls_[id]), &QAbstractButton::clicked, this,
                action);
    };
    clicked(IDC_PLAY, [this] { controller_->PlayPause(); });
    clicked(IDC_PAUSE, [this] { controller_->PlayPause(); });
    clicked(IDC_STOP, [this] { controller_->Stop(); });
    clicked(IDC_OPEN, [this] { OpenWithDialog(); });
    clicked(IDC_MP3, [this] { controller_->ExportMp3(); });
    clicked(IDC_MINIMISE, [this] { showMinimized(); });
    clicked(IDC_CLOSE, [this] { close(); });
    connect(position, &SkinSlider::Scrolled, this,
            [this](int p, bool ended) { controller_->OnPositionScroll(p, ended); });
    auto volumeNotify = [this] { controller_->OnVolumeNotify(); };
    connect(volume, &QAbstractSlider::valueChanged, this, volumeNotify);
    connect(volume, &QAbstractSlider::sliderMoved, this, volumeNotify);
    connect(volume, &QAbstractSlider::sliderReleased, this, volumeNotify);

    QWidget* previous = nullptr;
    for (const ControlName& n : kNames) {
        QWidget* w = controls_[n.id];
        w->setAccessibleName(QCoreApplication::translate("vanplay", n.name));
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    for (const ControlName& n : kLabelRoles)
        controls_[n.id]->setAccessibleDescription(QCoreApplication::translate("vanplay", n.name));
    // The keys start on the position slider, as before the buttons took
    // Tab: Enter and Escape keep the window's rules.
    position->setFocus(Qt::OtherFocusReason);
}

void PlayerWindow::Start(const std::string& file) {
    controller_->Start(file);
}

QWidget* PlayerWindow::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

QStringList PlayerWindow::OpenFilters() {
    // "All Files" is every name, extension or not: "*".
    return {QStringLiteral("Compressed Files (*.vrc)"), QStringLiteral("WAV Files (*.wav)"),
            QStringLiteral("All Files (*)")};
}

void PlayerWindow::OpenWithDialog() {
    controller_->Stop();
    FileDialogs::Request request(FileDialogs::Kind::OpenFile, QStringLiteral("Open File"));
    request.filters = OpenFilters();
    request.defaultSuffix = QStringLiteral("vrc");
    const QString file = FileDialogs::Choose(this, request);
    if (file.isEmpty())
        return;
    controller_->OpenFile(file.toStdString());
}

void PlayerWindow::ShowControl(int id, bool shown) {
    if (QWidget* w = Control(id))
        w->setVisible(shown);
}

bool PlayerWindow::ControlShown(int id) const {
    QWidget* w = Control(id);
    return w && !w->isHidden();
}

void PlayerWindow::EnableControl(int id, bool enabled) {
    if (QWidget* w = Control(id))
        w->setEnabled(enabled);
}

bool PlayerWindow::ControlEnabled(int id) const {
    QWidget* w = Control(id);
    return w && w->isEnabled();
}

void PlayerWindow::SetSliderRange(int id, int minimum, int maximum) {
    if (auto* s = qobject_cast<QAbstractSlider*>(Control(id)))
        s->setRange(minimum, maximum);
}

void PlayerWindow::SetSliderPosition(int id, int position) {
    if (auto* s = qobject_cast<QAbstractSlider*>(Control(id)))
        s->setValue(position);
}

int PlayerWindow::SliderPosition(int id) const {
    auto* s = qobject_cast<QAbstractSlider*>(Control(id));
    return s ? s->value() : 0;
}

void PlayerWindow::SetLabelText(int id, const std::string& text) {
    if (auto* l = qobject_cast<TransparentLabel*>(Control(id)))
        l->SetText(vt::widgets::Q(text));
}

std::string PlayerWindow::LabelText(int id) const {
    auto* l = qobject_cast<TransparentLabel*>(Control(id));
    return l ? l->Text().toStdString() : std::string();
}

bool PlayerWindow::event(QEvent* e) {
    if (e->type() == vt::widgets::WindowMessageEvent::EventType()) {
        auto* m = static_cast<vt::widgets::WindowMessageEvent*>(e);
        controller_->OnMessage(m->message, m->wParam, m->lParam);
        return true;
    }
    return QWidget::event(e);
}

void PlayerWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), skin_.Image(IDB_SKIN), rect());
}

void PlayerWindow::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Escape:
            showMinimized();  // Escape never closes the player
            e->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            e->accept();  // swallowed
            return;
        default:
            QWidget::keyPressEvent(e);
    }
}

void PlayerWindow::closeEvent(QCloseEvent* e) {
    controller_->Close();
    e->accept();
}

}  // namespace vanplay
