#include "ui/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QShowEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QWindow>

// The X11 check below needs the XCB protocol's event layout: a build without
// it leaves the check out, and at run time it acts on the xcb platform only.
#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define MORVANE1_X11 1
#else
#define MORVANE1_X11 0
#endif

#include "app/numtext.h"
#include "ui/form1_controls.h"
#include "ui/form2.h"
#include "ui/picture_box.h"
#include "ui/scheme_view.h"
#include "ui/twips.h"

namespace ui {
namespace {

void ShowMessageBox(QWidget* parent, const QString& text) {
    // The program's texts break lines with CR LF; the label wants LF alone.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Morvane1"), shown, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void ApplyProgramStyle() {
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(classic);
}

Form1::Form1(double rate)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      driver_(controller_, [this] { ReadLocale(); }, [this] { Present(); }, rate) {
    setObjectName(QStringLiteral("Form1"));
    // The controls lie on a page of the old fixed size, in a scroll area
    // that shows all of it, or as much as the screen holds.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    page_ = new QWidget(scroll);
    page_->setFixedSize(TwipsToPx(11925), TwipsToPx(8370));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    // The layout is the old one in fixed twips, drawn for an 8-point sans
    // serif; a pixel size keeps the text in proportion to it on any screen.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setStretch(QFont::SemiCondensed);
    setFont(f);

    messageSink_ = [this](const QString& text) { ShowMessageBox(this, text); };
    x11_ = QGuiApplication::platformName() == QLatin1String("xcb");
    ReadLocale();
    CreateControls();
    scroll->setWidget(page_);
    FitScreen();
    controller_.Load();
    Present();

    connect(&driver_, &RunDriver::runFinished, this, &Form1::runFinished);
    connect(&driver_, &RunDriver::paceChanged, this, &Form1::ShowPace);
    // Ctrl with the arrows and 0 types nothing into a field.
    const auto onKey = [this](QKeyCombination keys, auto change) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, change);
    };
    onKey(Qt::CTRL | Qt::Key_Up, [this] { driver_.Faster(); });
    onKey(Qt::CTRL | Qt::Key_Down, [this] { driver_.Slower(); });
    onKey(Qt::CTRL | Qt::Key_0, [this] { driver_.SetRate(0); });
    ShowPace();
}

Form1::~Form1() = default;

void Form1::FitScreen() {
    const QSize page = page_->size();
    const QScreen* on = screen();
    if (!on) return setFixedSize(page);
    // The window manager's frame, known once the window has been shown; a
    // title bar's height until then.
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    const QRect room = on->availableGeometry().marginsRemoved(frame);
    if (page.width() <= room.width() && page.height() <= room.height()) return setFixedSize(page);
    // Too big for the screen: as much of the page as fits, with scroll bars
    // for the rest, and room for them up to the whole page. Scrolled, the
    // window paints under the fields: at 200 % a field's panel leaves its
    // frame's pixels as they were, which a scroll would fill with others'.
    for (QLineEdit* field : fields_) field->setAttribute(Qt::WA_OpaquePaintEvent, false);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setMaximumSize(page + QSize(bar, bar));
    resize(room.size().boundedTo(maximumSize()));
    move(on->availableGeometry().topLeft());
}

void Form1::CreateControls() {
    for (const ControlSpec& control : Form1Controls()) {
        const QRect rect = TwipsRect(control.left, control.top, control.width, control.height);
        // Russian, or its translation when the program has one.
        const QString text = tr(control.text);
        const std::size_t at = control.slot;
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::kButton: {
                auto* button = new QPushButton(text, page_);
                const auto which = static_cast<app::Button>(at);
                connect(button, &QPushButton::clicked, this, [this, which] { OnButton(which); });
                buttons_.at(at) = button;
                widget = button;
                break;
            }
            case ControlKind::kSeries:
            case ControlKind::kBox: {
                auto* box = new QCheckBox(text, page_);
                box->setChecked(control.ticked);
                (control.kind == ControlKind::kSeries ? seriesBoxes_.at(at) : boxes_.at(at)) = box;
                widget = box;
                break;
            }
            case ControlKind::kTextField: {
                auto* field = new QLineEdit(FirstText(control), page_);
                field->setCursorPosition(0);
                // The classic panel covers the field (at 200 % all but its
                // frame's pixels, which keep what was first drawn there), so
                // the window need not paint its background under each readout.
                if (field->style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0)
                    field->setAttribute(Qt::WA_OpaquePaintEvent);
                texts_.Follow(static_cast<app::Field>(at), field);
                fields_.at(at) = field;
                widget = field;
                break;
            }
            case ControlKind::kLabel: {
                auto* label = new QLabel(text, page_);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setTextFormat(Qt::PlainText);
                // Several labels reach a pixel into the field they name; kept
                // beneath, they are not repainted with every new readout.
                label->lower();
                widget = label;
                break;
            }
            case ControlKind::kPicture: {
                auto* picture = at == app::Slot(app::Picture::ConstructionView) ? new SchemeView(rect, page_)
                                                                                : new PictureBox(rect, page_);
                pictures_.at(at) = picture;
                widget = picture;
                break;
            }
        }
        widget->setObjectName(ControlName(control));
        widget->setGeometry(rect);
    }
}

void Form1::SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

QLineEdit* Form1::Widget(app::Field f) const { return fields_.at(app::Slot(f)); }
QCheckBox* Form1::Widget(app::Series s) const { return seriesBoxes_.at(app::Slot(s)); }
QCheckBox* Form1::Widget(app::Box b) const { return boxes_.at(app::Slot(b)); }
QPushButton* Form1::Widget(app::Button b) const { return buttons_.at(app::Slot(b)); }
PictureBox* Form1::Widget(app::Picture p) const { return pictures_.at(app::Slot(p)); }

void Form1::OnButton(app::Button button) {
    ReadLocale();
    controller_.Press(button);
    // What the press wrote shows at once; a run it started goes on in slices.
    Present();
    driver_.Follow();
}

void Form1::SetRate(double rate) { driver_.SetRate(rate); }

void Form1::ShowPace() {
    const auto number = [this](double v) { return QString::fromStdString(app::FormatNumber(v, separator_)); };
    const double rate = driver_.Rate(), reached = driver_.ShortOf();
    setWindowTitle(rate == 0     ? tr("Morvane1 — темп: максимальный")
                   : reached < 0 ? tr("Morvane1 — темп ×%1").arg(number(rate))
                                 : tr("Morvane1 — темп ×%1, идёт ×%2").arg(number(rate), number(app::TwoDigits(reached))));
}

std::string Form1::GetText(app::Field f) { return texts_.Get(f); }

void Form1::SetText(app::Field f, std::string_view text) { texts_.Set(f, text); }

namespace {

int ValueOf(const QCheckBox& box) {
    switch (box.checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

}  // namespace

int Form1::CheckValue(app::Series s) { return ValueOf(*Widget(s)); }
int Form1::CheckValue(app::Box b) { return ValueOf(*Widget(b)); }

app::Surface& Form1::Picture(app::Picture p) { return *Widget(p); }

void Form1::MessageBox(app::Message message) {
    Present();
    driver_.Hold([&] {
        messageSink_(static_cast<SchemeView*>(Widget(app::Picture::ConstructionView))->MessageText(message));
    });
}

int Form1::OpenWindowCount() {
    int open = closed_ ? 0 : 1;
    const Form2* help = HelpWindow();
    if (help && help->isVisible()) ++open;
    return open;
}

void Form1::CloseWindows() {
    close();
    closed_ = true;
    UnloadHelpWindow();
}

void Form1::ShowHelp() { OpenHelpWindow(); }

void Form1::Present() {
    texts_.Show();
    Widget(app::Picture::ConstructionView)->Flush();
    Widget(app::Picture::Plot)->Flush();
}

char Form1::DecimalSeparator() { return separator_; }

void Form1::ReadLocale() {
    // Read once per slice or press rather than at each of the thirty
    // conversions of a display cycle; the locale only changes between them.
    separator_ = QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program: the help goes with it, and
    // so does a run, at once or at the end of the slice it is in. The window
    // itself stays alive until the event loop has returned.
    event->accept();
    closed_ = true;
    UnloadHelpWindow();
    controller_.WindowClosed();
    driver_.Follow();
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    closed_ = false;
}

bool Form1::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
#if MORVANE1_X11
    // Another X client can destroy the window (xdotool windowclose, a window
    // manager's "destroy"). Qt takes that for an unmap and keeps the widget
    // shown, so the program, and a run, would go on with no window at all;
    // it ends instead as a title-bar close ends it. The close is queued, to
    // run outside the handling of the X event.
    if (x11_ && eventType == "xcb_generic_event_t") {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & ~0x80) == XCB_DESTROY_NOTIFY &&
            reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == winId())
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
#endif
    return QWidget::nativeEvent(eventType, message, result);
}

}  // namespace ui
