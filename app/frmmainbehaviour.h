// SPDX-License-Identifier: MIT
#pragma once

#include "callbudget.h"
#include "frmmainview.h"
#include "functions.h"
#include "readoutdetails.h"
#include "temperaturesampler.h"

namespace veltaro {

class ComputerName;
class MessageService;
class ProcessorIdentity;
struct IdentifiedProcessor;
class ReadingSource;
class RegistryBackend;
class Shell;

// The platform services the window works with.
struct FrmmainServices {
    // Where the temperature comes from: the port driver, or the kernel.
    ReadingSource& readings;
    RegistryBackend& registry;
    ComputerName& computerName;
    MessageService& messages;
    Shell& shell;
    // What the processor the program runs on says of itself.
    ProcessorIdentity& processorIdentity;
    // Times the driver calls of each tick.
    SteadyClock clock;
};

// The demo's window title: it says that its figures are no measurement.
// The program's own is the application title, kApplicationTitle.
inline constexpr wchar_t kDemoTitle[] = L"Veltaro (simulated processor)";

// The driver message: its text, and its title, which carries the contact
// address.
extern const wchar_t kDriverMessage[];
std::wstring driverMessageTitle();

// The message for a processor no way here can read (another maker's, or a
// family or model the table does not hold and no source reads), under the
// driver message's title: it names the processor.
std::wstring unreadableProcessorMessage(const IdentifiedProcessor& processor);

// What the window does, as opposed to how it looks: its load handler, its
// timer tick and the click on the author's name. Both faces drive their
// window through this one class.
class FrmmainBehaviour {
public:
    FrmmainBehaviour(FrmmainView& view, const FrmmainServices& services);

    // The load handler: clears the readout and the FamilyCode, stops the
    // timer, starts the reading's source (the port driver), detects the family, starts the timer
    // and identifies the processor. False when the driver could not be
    // started, or when the processor is one that no source here reads
    // (told before any driver is tried): the user has been told, and the
    // program must end without showing the window.
    bool load();

    // The load handler, then the window is shown if it succeeded, and
    // after it the icon in the notification area, showing "--" until the
    // first tick.
    bool start();

    // One temperature sample: the readout's caption, or no change when
    // the text field holds no FamilyCode; while the readout's tooltip
    // shows, its details too, unless the sample's call was slow. When the
    // number shown changes, the notification area's icon and its tooltip
    // follow.
    void onTimer1Tick();

    // The readout's tooltip text, read now: every node's figure, each
    // die's, and the highest reading since start, the nodes counted anew.
    // For the face to call when the tooltip is about to show.
    std::wstring readoutDetails();

    // The pointer rests on the notification area's icon: its tooltip's
    // details are read again, at most once a tick.
    void onNotificationPointer();

    // The contact link: hands "mailto: " and the contact address to the
    // desktop. Whatever fails here fails silently.
    void onLabel3Click();

private:
    // The readout's caption without its leading blank, "-" while it is
    // empty, then the details given.
    std::wstring notificationTip(const std::wstring& details);

    FrmmainView& m_view;
    FrmmainServices m_services;
    TemperatureSampler m_sampler;
    // The readout's caption, written anew at each tick in the same room.
    std::wstring m_caption;
    ReadoutDetails m_details;
    CallBudget m_calls;
    Functions m_functions;
    // The number the notification area's icon was given; none before
    // start-up has put the icon there.
    std::optional<std::optional<long long>> m_notifiedCelsius;
    // A tick has passed since the icon's tooltip was last read.
    bool m_tipOutdated = false;
};

}  // namespace veltaro
