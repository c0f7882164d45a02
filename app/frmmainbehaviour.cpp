// SPDX-License-Identifier: MIT
#include "frmmainbehaviour.h"

#include <algorithm>

#include "codepage.h"
#include "familycode.h"
#include "hextext.h"
#include "identification.h"
#include "messageservice.h"
#include "processoridentity.h"
#include "processorsignature.h"
#include "productinfo.h"
#include "readingsource.h"

namespace veltaro {

namespace {

constexpr int kShowNormal = 1;

std::wstring mailtoText()
{
    // The blank after the colon belongs to the link text.
    return std::wstring(L"mailto: ") + product::kContactAddress;
}

// Upper-case hexadecimal digits without leading zeros.
std::wstring upperHex(unsigned value)
{
    const std::wstring digits = Hex8(value);
    return digits.substr(std::min(digits.find_first_not_of(L'0'), digits.size() - 1));
}

// A processor that cannot be asked may be an early family 0Fh part, and
// one that the table holds is read by its family's way.
bool unlistedProcessor(const std::optional<IdentifiedProcessor>& processor)
{
    return processor && findProcessorFamily(vendorOf(processor->vendor), processorFamily(processor->signature),
                                            processorModel(processor->signature)) == nullptr;
}

}  // namespace

const wchar_t kDriverMessage[] =
    L"There is a problem with loading IO driver. In a Vista system, please run this program with "
    L"Administrator access level (Right click the mouse on the program icon and choose 'run as "
    L"administrator' in popup menu. or Mail me.";

std::wstring driverMessageTitle()
{
    return std::wstring(L"Mailto: ") + product::kContactAddress;
}

std::wstring unreadableProcessorMessage(const IdentifiedProcessor& processor)
{
    std::wstring text =
        std::wstring(product::kName) + L" reads AMD processors of families 0Fh to 1Ah. This processor (";
    for (const char c : processor.vendor)
        text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    text += L", family " + upperHex(processorFamily(processor.signature)) + L"h, model " +
            upperHex(processorModel(processor.signature)) + L"h) is not one of them.";
    return text;
}

FrmmainBehaviour::FrmmainBehaviour(FrmmainView& view, const FrmmainServices& services)
    : m_view(view)
    , m_services(services)
    , m_sampler(services.readings)
    , m_details(services.readings)
    , m_calls(services.clock)
    , m_functions(services.registry, services.computerName, services.messages)
{
}

bool FrmmainBehaviour::load()
{
    m_view.setTemperatureCaption({});
    m_view.setFamilyCode({});
    m_view.setTimer1Enabled(false);

    // A processor no source here reads is told so before any driver is
    // tried: the driver message would ask for rights that cannot help.
    const std::optional<IdentifiedProcessor> processor = m_services.processorIdentity.identify();
    const bool unlisted = unlistedProcessor(processor);
    const bool unreadable = unlisted && (vendorOf(processor->vendor) == ProcessorVendor::Other ||
                                         !m_services.readings.readsUnlistedProcessor());
    if (unreadable || !m_services.readings.start()) {
        m_services.messages.show(unlisted ? unreadableProcessorMessage(*processor) : std::wstring(kDriverMessage),
                                 driverMessageTitle(), MessageIcon::Critical);
        return false;
    }
    const DetectedFamily family = detectFamily(m_services.readings, m_services.processorIdentity);
    m_view.setFamilyCode(family.familyCode);
    m_sampler.setProcessor(family);
    m_view.setTimer1Enabled(true);

    if (const std::optional<std::wstring> line = identifyProcessor(m_functions, m_services.messages))
        m_view.setProcessorLine(*line);
    return true;
}

bool FrmmainBehaviour::start()
{
    if (!load())
        return false;
    m_view.showWindow();
    // Nothing is measured before the first tick.
    m_notifiedCelsius.emplace(std::nullopt);
    m_view.setNotificationNumber(std::nullopt);
    m_view.setNotificationTip(L"-");
    m_view.showNotificationIcon();
    return true;
}

void FrmmainBehaviour::onTimer1Tick()
{
    m_calls.renew();
    if (const std::optional<std::wstring_view> caption =
            m_calls.timed([this] { return m_sampler.sample(m_view.familyCode()); })) {
        m_caption = *caption;
        m_view.setTemperatureCaption(m_caption);
    }
    const std::optional<long long> shown = m_sampler.shownCelsius();
    const bool numberChanged = m_notifiedCelsius && *m_notifiedCelsius != shown;
    const bool readoutTipShown = m_view.readoutDetailsShown();
    // The details are read once for both tooltips, under the tick's own
    // budget: after a slow call they wait for a later tick, or for the
    // pointer on the icon.
    std::optional<std::wstring> details;
    if ((readoutTipShown || numberChanged) && !m_calls.spent())
        details = m_details.text(m_sampler, &m_calls);
    if (readoutTipShown && details)
        m_view.setReadoutDetails(*details);
    m_tipOutdated = true;
    if (numberChanged) {
        m_notifiedCelsius.emplace(shown);
        m_view.setNotificationNumber(shown);
        if (details)
            m_view.setNotificationTip(notificationTip(*details));
    }
}

void FrmmainBehaviour::onNotificationPointer()
{
    if (m_tipOutdated)
        m_view.setNotificationTip(notificationTip(readoutDetails()));
}

std::wstring FrmmainBehaviour::notificationTip(const std::wstring& details)
{
    m_tipOutdated = false;
    const std::size_t first = m_caption.find_first_not_of(L' ');
    std::wstring tip = first == std::wstring::npos ? std::wstring(L"-") : m_caption.substr(first);
    tip += L'\n';
    tip += details;
    return tip;
}

std::wstring FrmmainBehaviour::readoutDetails()
{
    m_calls.renew();
    m_services.readings.recountNodes();
    return m_details.text(m_sampler, &m_calls);
}

void FrmmainBehaviour::onLabel3Click()
{
    m_services.shell.execute(m_view.nativeWindowHandle(), "Open", toSystemCodePage(mailtoText()), "",
                             toSystemCodePage(m_view.programFolder()), kShowNormal);
}

}  // namespace veltaro
