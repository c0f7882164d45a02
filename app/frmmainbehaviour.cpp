// SPDX-License-Identifier: MIT
#include "frmmainbehaviour.h"

#include "codepage.h"
#include "familycode.h"
#include "identification.h"
#include "messageservice.h"
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

}  // namespace

const wchar_t kDriverMessage[] =
    L"There is a problem with loading IO driver. In a Vista system, please run this program with "
    L"Administrator access level (Right click the mouse on the program icon and choose 'run as "
    L"administrator' in popup menu. or Mail me.";

std::wstring driverMessageTitle()
{
    return std::wstring(L"Mailto: ") + product::kContactAddress;
}

FrmmainBehaviour::FrmmainBehaviour(FrmmainView& view, const FrmmainServices& services)
    : m_view(view)
    , m_services(services)
    , m_sampler(services.readings)
    , m_details(services.readings)
    , m_functions(services.registry, services.computerName, services.messages)
{
}

bool FrmmainBehaviour::load()
{
    m_view.setTemperatureCaption({});
    m_view.setFamilyCode({});
    m_view.setTimer1Enabled(false);

    if (!m_services.readings.start()) {
        m_services.messages.show(kDriverMessage, driverMessageTitle(), MessageIcon::Critical);
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
    return true;
}

void FrmmainBehaviour::onTimer1Tick()
{
    if (const std::optional<std::wstring_view> caption = m_sampler.sample(m_view.familyCode())) {
        m_caption = *caption;
        m_view.setTemperatureCaption(m_caption);
    }
    if (m_view.readoutDetailsShown())
        m_view.setReadoutDetails(readoutDetails());
}

std::wstring FrmmainBehaviour::readoutDetails()
{
    return m_details.text(m_sampler);
}

void FrmmainBehaviour::onLabel3Click()
{
    m_services.shell.execute(m_view.nativeWindowHandle(), "Open", toSystemCodePage(mailtoText()), "",
                             toSystemCodePage(m_view.programFolder()), kShowNormal);
}

}  // namespace veltaro
