// SPDX-License-Identifier: MIT
#include "frmmain.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <QToolTip>

#include "notificationicon.h"
#include "productinfo.h"
#include "windowdesign.h"
#include "windowfonts.h"

namespace veltaro {

namespace {

// The number drawn at every size a host may ask for, so that none is scaled.
QIcon notificationPicture(std::optional<long long> celsius)
{
    QIcon picture;
    for (const int side : kNotificationIconSides) {
        const IconPicture drawn = notificationIcon(celsius, side);
        picture.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(drawn.pixels.data()), side, side,
                                                    static_cast<qsizetype>(side) * 4, QImage::Format_ARGB32)
                                                 .copy()));
    }
    return picture;
}

// The Qt face lays out in pixels of the 96 DPI design; Qt itself scales
// for screens of other densities.
int pixels(int twips)
{
    return design::pixels(twips, design::kDesignDpi);
}

QRect designRect(const design::Box& box)
{
    return QRect(pixels(box.left), pixels(box.top), pixels(box.width), pixels(box.height));
}

QColor colour(const design::Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The one-pixel sunken edge of a read-only box: dark above and left,
// light below and right.
constexpr int kSunkenSingleLine = QFrame::Panel | QFrame::Sunken;

// Labels draw their text from the top of their box, as on Windows. QLabel
// would centre it vertically, and inside a frame it would also indent it
// by half an "x" from the edges it is aligned to.
void alignTextToTop(QLabel* label, Qt::Alignment horizontal)
{
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setIndent(0);
}

// An opaque element in its own text and background colours.
void setColours(QWidget* element, const QColor& text, const QColor& background)
{
    QPalette colours = element->palette();
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Window, background);
    element->setPalette(colours);
    element->setAutoFillBackground(true);
}

// The envelope pointer over the author's name, its hot spot in the
// centre, as for any icon used as a pointer. Above a scale of 1 it is the
// 64 x 64 double with a device pixel ratio of 2: the pointer keeps its
// size and is drawn at the screen's own density.
QCursor envelopeCursor(qreal devicePixelRatio)
{
    const bool doubled = devicePixelRatio > 1.0;
    const int side = doubled ? 64 : 32;
    QImageReader reader(doubled ? QStringLiteral(":/pictures/envelope@2x.ico")
                                : QStringLiteral(":/pictures/envelope.ico"));
    for (int index = 0; index < reader.imageCount(); ++index) {
        reader.jumpToImage(index);
        const QImage image = reader.read();
        if (image.width() == side) {
            QPixmap pixmap = QPixmap::fromImage(image);
            pixmap.setDevicePixelRatio(doubled ? 2.0 : 1.0);
            // Qt's X11 back end hands the hot spot to the X server as it
            // is, beside the picture's own pixels, where the others scale
            // it by the picture's device pixel ratio: for X11 it is given
            // in the picture's pixels.
            if (QGuiApplication::platformName() == QLatin1String("xcb"))
                return QCursor(pixmap, side / 2, side / 2);
            return QCursor(pixmap);
        }
    }
    return QCursor(Qt::PointingHandCursor);
}

// The emblem for the screen's scale: Qt looks up a picture's "@2x" double
// for icons, not for plain pixmaps.
QPixmap emblemPixmap(qreal devicePixelRatio)
{
    return QIcon(QStringLiteral(":/pictures/emblem.gif")).pixmap(QSize(100, 100), devicePixelRatio);
}

}  // namespace

Frmmain::Frmmain(const Services& services, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
    , txtsign(new QLineEdit(this))
    , Label3(new ClickableLabel(this))
    , Label8(new QLabel(this))
    , Image1(new QLabel(this))
    , lblProcessorName(new QLabel(this))
    , lbltemp(new QLabel(this))
    , Shape1(new QWidget(this))
    , Timer1(new QTimer(this))
    , m_behaviour(*this, services)
{
    setObjectName("Frmmain");
    setWindowTitle(title);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/veltaro.ico")));
    setFixedSize(pixels(design::kClientArea.width), pixels(design::kClientArea.height));
    setFont(dialogFont());
    setAutoFillBackground(true);

    // Out of sight but not hidden: it stores the FamilyCode and is the one
    // element that can take the keyboard focus. Read-only, so that a key
    // typed into the window cannot change the code and stop the readout;
    // without a menu, so that the Menu key or Shift+F10 cannot open one
    // whose Copy would hand the code to the clipboard.
    txtsign->setObjectName("txtsign");
    txtsign->setGeometry(designRect(design::kTxtsign));
    txtsign->setReadOnly(true);
    txtsign->setContextMenuPolicy(Qt::NoContextMenu);

    Label3->setObjectName("Label3");
    Label3->setGeometry(designRect(design::kLabel3));
    Label3->setFont(designFont(QString::fromWCharArray(design::kSerifFace), design::kLinkPoints, true, true));
    Label3->setText(QString::fromWCharArray(product::kAuthorName));
    alignTextToTop(Label3, Qt::AlignLeft);
    setColours(Label3, colour(design::kLinkText), palette().color(QPalette::Window));
    Label3->setCursor(envelopeCursor(devicePixelRatio()));

    Label8->setObjectName("Label8");
    Label8->move(designRect(design::kLabel8).topLeft());
    Label8->setText(QString::fromWCharArray(product::kAuthorCreditLine));
    setColours(Label8, palette().color(QPalette::WindowText), palette().color(QPalette::Window));
    Label8->adjustSize();

    Image1->setObjectName("Image1");
    Image1->setGeometry(designRect(design::kImage1));
    Image1->setPixmap(emblemPixmap(devicePixelRatio()));

    lblProcessorName->setObjectName("lblProcessorName");
    lblProcessorName->setGeometry(designRect(design::kLblProcessorName));
    lblProcessorName->setFrameStyle(kSunkenSingleLine);
    alignTextToTop(lblProcessorName, Qt::AlignLeft);
    setColours(lblProcessorName, palette().color(QPalette::WindowText), colour(design::kProcessorLineBackground));

    lbltemp->setObjectName("lbltemp");
    lbltemp->setGeometry(designRect(design::kLbltemp));
    lbltemp->setFont(designFont(QString::fromWCharArray(design::kSerifFace), design::kReadoutPoints, true));
    lbltemp->setFrameStyle(kSunkenSingleLine);
    alignTextToTop(lbltemp, Qt::AlignHCenter);
    // Its tooltip shows every node and die; a monitoring window is usually
    // not the active one, so tooltips show in an inactive window too.
    lbltemp->installEventFilter(this);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setColours(lbltemp, colour(design::kReadoutText), colour(design::kReadoutBackground));

    // The emblem's drop shadow, drawn beneath it. Title bars on a Linux
    // desktop belong to the window manager, so the toolkit has no colour for
    // an inactive one; the closest the palette offers is Dark, the subdued
    // shade of the window face that frames and shadows are drawn in.
    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(designRect(design::kShape1));
    setColours(Shape1, palette().color(QPalette::Inactive, QPalette::Dark),
               palette().color(QPalette::Inactive, QPalette::Dark));
    Image1->raise();

    // Texts from the machine are shown as they are, never taken for markup.
    for (QLabel* label : std::initializer_list<QLabel*>{Label3, Label8, lblProcessorName, lbltemp}) {
        label->setFocusPolicy(Qt::NoFocus);
        label->setTextFormat(Qt::PlainText);
    }
    setTabOrder(txtsign, lbltemp);
    setTabOrder(lbltemp, lblProcessorName);
    setTabOrder(lblProcessorName, Label8);
    setTabOrder(Label8, Label3);

    Timer1->setObjectName("Timer1");
    Timer1->setInterval(design::kTimer1IntervalMs);
    connect(Timer1, &QTimer::timeout, this, &Frmmain::onTimer1Tick);
    connect(Label3, &ClickableLabel::clicked, this, &Frmmain::onLabel3Click);
}

bool Frmmain::load()
{
    return m_behaviour.load();
}

bool Frmmain::start()
{
    return m_behaviour.start();
}

bool Frmmain::eventFilter(QObject* watched, QEvent* event)
{
    // Hosts that ask for the tooltip as the pointer rests on the icon
    // (XEmbed) get figures of this tick; the others have those of the
    // last change of the number.
    if (watched == trayIcon && event->type() == QEvent::ToolTip)
        m_behaviour.onNotificationPointer();
    if (watched == lbltemp && event->type() == QEvent::ToolTip) {
        const QString text = QString::fromStdWString(m_behaviour.readoutDetails());
        lbltemp->setToolTip(text);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, lbltemp);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool Frmmain::readoutDetailsShown() const
{
    return QToolTip::isVisible() && QToolTip::text() == lbltemp->toolTip();
}

void Frmmain::setReadoutDetails(const std::wstring& text)
{
    const QString details = QString::fromStdWString(text);
    lbltemp->setToolTip(details);
    QToolTip::showText(QCursor::pos(), details, lbltemp);
}

void Frmmain::onTimer1Tick()
{
    m_behaviour.onTimer1Tick();
}

void Frmmain::onLabel3Click()
{
    m_behaviour.onLabel3Click();
}

void Frmmain::setTemperatureCaption(const std::wstring& caption)
{
    lbltemp->setText(QString::fromStdWString(caption));
}

std::wstring Frmmain::familyCode() const
{
    return txtsign->text().toStdWString();
}

void Frmmain::setFamilyCode(const std::wstring& code)
{
    txtsign->setText(QString::fromStdWString(code));
}

void Frmmain::setProcessorLine(const std::wstring& line)
{
    lblProcessorName->setText(QString::fromStdWString(line));
}

void Frmmain::setTimer1Enabled(bool enabled)
{
    if (enabled)
        Timer1->start();
    else
        Timer1->stop();
}

std::wstring Frmmain::programFolder() const
{
    return QCoreApplication::applicationDirPath().toStdWString();
}

WindowHandle Frmmain::nativeWindowHandle() const
{
    return static_cast<WindowHandle>(winId());
}

void Frmmain::showWindow()
{
    QWidget::show();
}

void Frmmain::setNotificationNumber(std::optional<long long> celsius)
{
    // Without a notification area nothing is drawn: the number is kept for
    // an icon added later.
    m_trayNumber = celsius;
    if (trayIcon != nullptr)
        trayIcon->setIcon(notificationPicture(celsius));
}

void Frmmain::setNotificationTip(const std::wstring& text)
{
    m_trayTip = windowTitle() + QLatin1Char('\n') + QString::fromStdWString(text);
    if (trayIcon != nullptr)
        trayIcon->setToolTip(m_trayTip);
}

void Frmmain::showNotificationIcon()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    trayIcon = new QSystemTrayIcon(notificationPicture(m_trayNumber), this);
    trayIcon->setObjectName("trayIcon");
    trayIcon->setToolTip(m_trayTip);
    auto* menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("Show Veltaro")), &QAction::triggered, this, &Frmmain::bringToFront);
    // As the window's close button: the window closes and the program ends.
    connect(menu->addAction(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);
    trayIcon->setContextMenu(menu);
    connect(trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            bringToFront();
    });
    trayIcon->installEventFilter(this);
    trayIcon->show();
}

void Frmmain::bringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

}  // namespace veltaro
