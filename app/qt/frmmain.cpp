#include "frmmain.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>

#include "productinfo.h"
#include "windowdesign.h"
#include "windowfonts.h"

namespace veltaro {

namespace {

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

// An opaque element in its own text and background colours.
void setColours(QWidget* element, const QColor& text, const QColor& background)
{
    QPalette colours = element->palette();
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Window, background);
    element->setPalette(colours);
    element->setAutoFillBackground(true);
}

// The envelope pointer over the author's name. Its 32 x 32 image; the hot
// spot is the centre, as for any icon used as a pointer.
QCursor envelopeCursor()
{
    QImageReader reader(QStringLiteral(":/pictures/envelope.ico"));
    for (int index = 0; index < reader.imageCount(); ++index) {
        reader.jumpToImage(index);
        const QImage image = reader.read();
        if (image.width() == 32)
            return QCursor(QPixmap::fromImage(image));
    }
    return QCursor(Qt::PointingHandCursor);
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
    // typed into the window cannot change the code and stop the readout.
    txtsign->setObjectName("txtsign");
    txtsign->setGeometry(designRect(design::kTxtsign));
    txtsign->setReadOnly(true);

    Label3->setObjectName("Label3");
    Label3->setGeometry(designRect(design::kLabel3));
    Label3->setFont(designFont(QString::fromWCharArray(design::kSerifFace), design::kLinkPoints, true, true));
    Label3->setText(QString::fromWCharArray(product::kAuthorName));
    setColours(Label3, colour(design::kLinkText), palette().color(QPalette::Window));
    Label3->setCursor(envelopeCursor());

    Label8->setObjectName("Label8");
    Label8->move(designRect(design::kLabel8).topLeft());
    Label8->setText(QString::fromWCharArray(product::kAuthorCreditLine));
    setColours(Label8, palette().color(QPalette::WindowText), palette().color(QPalette::Window));
    Label8->adjustSize();

    Image1->setObjectName("Image1");
    Image1->setGeometry(designRect(design::kImage1));
    Image1->setPixmap(QPixmap(QStringLiteral(":/pictures/emblem.gif")));

    lblProcessorName->setObjectName("lblProcessorName");
    lblProcessorName->setGeometry(designRect(design::kLblProcessorName));
    lblProcessorName->setFrameStyle(kSunkenSingleLine);
    lblProcessorName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(lblProcessorName, palette().color(QPalette::WindowText), colour(design::kProcessorLineBackground));

    lbltemp->setObjectName("lbltemp");
    lbltemp->setGeometry(designRect(design::kLbltemp));
    lbltemp->setFont(designFont(QString::fromWCharArray(design::kSerifFace), design::kReadoutPoints, true));
    lbltemp->setFrameStyle(kSunkenSingleLine);
    lbltemp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
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

}  // namespace veltaro
