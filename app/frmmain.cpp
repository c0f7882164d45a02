#include "frmmain.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

#include "familycode.h"
#include "messageservice.h"
#include "portio.h"
#include "productinfo.h"
#include "shell.h"

namespace veltaro {

namespace {

constexpr int kTimerIntervalMs = 200;

const wchar_t kDriverMessage[] =
    L"There is a problem with loading IO driver. In a Vista system, please run this program with "
    L"Administrator access level (Right click the mouse on the program icon and choose 'run as "
    L"administrator' in popup menu. or Mail me.";

std::wstring mailtoText()
{
    // The blank after the colon belongs to the link text.
    return std::wstring(L"mailto: ") + product::kContactAddress;
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
{
    setObjectName("Frmmain");
    setWindowTitle(title);
    setFixedSize(307, 168);

    txtsign->setObjectName("txtsign");
    txtsign->setGeometry(224, 168, 65, 19);

    Label3->setObjectName("Label3");
    Label3->setGeometry(56, 104, 81, 25);
    Label3->setText(QString::fromWCharArray(product::kAuthorName));

    Label8->setObjectName("Label8");
    Label8->move(32, 128);
    Label8->setText(QString::fromWCharArray(product::kAuthorCreditLine));
    Label8->adjustSize();

    Image1->setObjectName("Image1");
    Image1->setGeometry(192, 16, 100, 100);

    lblProcessorName->setObjectName("lblProcessorName");
    lblProcessorName->setGeometry(-1, 151, 313, 21);
    lblProcessorName->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);

    lbltemp->setObjectName("lbltemp");
    lbltemp->setGeometry(40, 32, 115, 46);
    lbltemp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbltemp->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);

    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(216, 40, 73, 73);
    Image1->raise();

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
}

void Frmmain::runIdentificationStage()
{
}

}  // namespace veltaro
