#include "frmmain.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>

#include "codepage.h"
#include "familycode.h"
#include "identification.h"
#include "messageservice.h"
#include "portio.h"
#include "productinfo.h"
#include "shell.h"
#include "windowfonts.h"

namespace veltaro {

namespace {

constexpr int kTimerIntervalMs = 200;
constexpr int kShowNormal = 1;

// The one-pixel sunken edge of a read-only box: dark above and left,
// light below and right.
constexpr int kSunkenSingleLine = QFrame::Panel | QFrame::Sunken;

const wchar_t kDriverMessage[] =
    L"There is a problem with loading IO driver. In a Vista system, please run this program with "
    L"Administrator access level (Right click the mouse on the program icon and choose 'run as "
    L"administrator' in popup menu. or Mail me.";

std::wstring mailtoText()
{
    // The blank after the colon belongs to the link text.
    return std::wstring(L"mailto: ") + product::kContactAddress;
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
    , m_services(services)
    , m_sampler(services.portIo)
    , m_functions(services.registry, services.computerName, services.messages)
{
    setObjectName("Frmmain");
    setWindowTitle(title);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/veltaro.ico")));
    setFixedSize(307, 168);
    setFont(dialogFont());
    setAutoFillBackground(true);

    // Placed on the bottom edge of the client area, wholly out of sight, but
    // not hidden: it stores the FamilyCode and is the one element that can
    // take the keyboard focus.
    txtsign->setObjectName("txtsign");
    txtsign->setGeometry(224, 168, 65, 19);

    Label3->setObjectName("Label3");
    Label3->setGeometry(56, 104, 81, 25);
    Label3->setFont(designFont(QStringLiteral("Times New Roman"), 12, true, true));
    Label3->setText(QString::fromWCharArray(product::kAuthorName));
    setColours(Label3, Qt::blue, palette().color(QPalette::Window));
    Label3->setCursor(envelopeCursor(devicePixelRatio()));

    Label8->setObjectName("Label8");
    Label8->move(32, 128);
    Label8->setText(QString::fromWCharArray(product::kAuthorCreditLine));
    setColours(Label8, palette().color(QPalette::WindowText), palette().color(QPalette::Window));
    Label8->adjustSize();

    Image1->setObjectName("Image1");
    Image1->setGeometry(192, 16, 100, 100);
    Image1->setPixmap(emblemPixmap(devicePixelRatio()));

    // A status bar: it runs past the left, right and bottom edges, so only
    // its top border line and 17 px of the bar show.
    lblProcessorName->setObjectName("lblProcessorName");
    lblProcessorName->setGeometry(-1, 151, 313, 21);
    lblProcessorName->setFrameStyle(kSunkenSingleLine);
    lblProcessorName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(lblProcessorName, palette().color(QPalette::WindowText), QColor(192, 255, 255));

    lbltemp->setObjectName("lbltemp");
    lbltemp->setGeometry(40, 32, 115, 46);
    lbltemp->setFont(designFont(QStringLiteral("Times New Roman"), 27.75, true));
    lbltemp->setFrameStyle(kSunkenSingleLine);
    lbltemp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setColours(lbltemp, QColor(0, 255, 0), QColor(0, 0, 0));

    // The emblem's drop shadow, drawn beneath it. Title bars on a Linux
    // desktop belong to the window manager, so the toolkit has no colour for
    // an inactive one; the closest the palette offers is Dark, the subdued
    // shade of the window face that frames and shadows are drawn in.
    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(216, 40, 73, 73);
    setColours(Shape1, palette().color(QPalette::Inactive, QPalette::Dark),
               palette().color(QPalette::Inactive, QPalette::Dark));
    Image1->raise();

    for (QLabel* label : std::initializer_list<QLabel*>{Label3, Label8, lblProcessorName, lbltemp})
        label->setFocusPolicy(Qt::NoFocus);
    setTabOrder(txtsign, lbltemp);
    setTabOrder(lbltemp, lblProcessorName);
    setTabOrder(lblProcessorName, Label8);
    setTabOrder(Label8, Label3);

    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimerIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &Frmmain::onTimer1Tick);
    connect(Label3, &ClickableLabel::clicked, this, &Frmmain::onLabel3Click);
}

bool Frmmain::load()
{
    lbltemp->setText(QString());
    txtsign->setText(QString());
    Timer1->stop();

    if (!m_services.portIo.InitializeWinIo()) {
        m_services.messages.show(kDriverMessage, std::wstring(L"Mailto: ") + product::kContactAddress,
                                 MessageIcon::Critical);
        return false;
    }
    txtsign->setText(QString::fromStdWString(detectFamilyCode(m_services.portIo)));
    Timer1->start();

    runIdentificationStage();
    return true;
}

void Frmmain::onTimer1Tick()
{
    const std::optional<std::wstring> caption = m_sampler.sample(txtsign->text().toStdWString());
    if (caption)
        lbltemp->setText(QString::fromStdWString(*caption));
}

void Frmmain::onLabel3Click()
{
    // Whatever fails here fails silently: the click then has no effect.
    const std::wstring programFolder = QCoreApplication::applicationDirPath().toStdWString();
    m_services.shell.execute(static_cast<WindowHandle>(winId()), "Open", toSystemCodePage(mailtoText()), "",
                             toSystemCodePage(programFolder), kShowNormal);
}

void Frmmain::runIdentificationStage()
{
    if (const std::optional<std::wstring> caption = identifyProcessor(m_functions, m_services.messages))
        lblProcessorName->setText(QString::fromStdWString(*caption));
}

}  // namespace veltaro
