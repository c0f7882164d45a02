// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The processors Veltaro reads, in one table: which family and models,
// their FamilyCode, where each keeps its temperature and how that reading
// turns into degrees. Detection, the timer tick and the Linux kernel path
// all look a processor up here. Header only, so that the platform's
// kernel path can read it without the rest of the sensor.

namespace veltaro {

enum class ProcessorVendor { Amd, Hygon, Other };

constexpr ProcessorVendor vendorOf(std::string_view vendorId)
{
    if (vendorId == "AuthenticAMD")
        return ProcessorVendor::Amd;
    if (vendorId == "HygonGenuine")
        return ProcessorVendor::Hygon;
    return ProcessorVendor::Other;
}

// Configuration addresses (enable bit, bus, device, function, register) of
// the registers the program reads. The processor's own functions sit at
// bus 0, device 24; its function 3 holds the thermal registers up to
// family 16h. Later the temperature moved behind the root complex (bus 0,
// device 0, function 0), reached through an index/data pair: the index is
// written to the first register, the data read from the second.
constexpr std::uint32_t northbridgeRegister(std::uint8_t offset)
{
    return 0x8000'C300u | offset;
}
constexpr std::uint32_t rootComplexRegister(std::uint8_t offset)
{
    return 0x8000'0000u | offset;
}

// F3xFC: the processor signature on family 0Fh from revision F and on
// families 10h to 16h; 0 on earlier family 0Fh parts and on the data
// fabric of family 17h and later.
inline constexpr std::uint32_t kSignatureRegister = northbridgeRegister(0xFC);
// F3xE4, Thermtrip Status: family 0Fh's current temperature in bits 23..16.
inline constexpr std::uint32_t kThermtripStatusRegister = northbridgeRegister(0xE4);
// F3xA4, Reported Temperature Control: bits 31..21 in eighths of a degree.
inline constexpr std::uint32_t kReportedTemperatureRegister = northbridgeRegister(0xA4);

struct IndexedRegister {
    std::uint32_t indexAddress;
    std::uint32_t dataAddress;
    std::uint32_t index;
};

// Family 15h models 60h to 7Fh moved Reported Temperature Control to
// D0F0xBC_xD820_0CA4, behind the index pair D0F0xB8/D0F0xBC.
inline constexpr IndexedRegister kRootComplexReportedTemperature{rootComplexRegister(0xB8), rootComplexRegister(0xBC),
                                                                 0xD820'0CA4};
// Family 17h and later: the reported temperature at 0x00059800 of the
// system management network, reached through D0F0x60/D0F0x64.
inline constexpr IndexedRegister kSmnReportedTemperature{rootComplexRegister(0x60), rootComplexRegister(0x64),
                                                         0x0005'9800};

enum class ThermalRegister {
    ThermtripStatus,                 // F3xE4
    ReportedTemperature,             // F3xA4
    RootComplexReportedTemperature,  // D0F0xBC_xD820_0CA4
    SmnReportedTemperature,          // SMN 0x00059800
};

// The index/data pair behind which the processor keeps its temperature;
// none where it sits in F3 itself.
constexpr const IndexedRegister* indexPairOf(ThermalRegister where)
{
    switch (where) {
    case ThermalRegister::RootComplexReportedTemperature:
        return &kRootComplexReportedTemperature;
    case ThermalRegister::SmnReportedTemperature:
        return &kSmnReportedTemperature;
    case ThermalRegister::ThermtripStatus:
    case ThermalRegister::ReportedTemperature:
        break;
    }
    return nullptr;
}

// Zen processors also report the temperature of each of their dies (core
// complex dies, CCDs), as the kernel's k10temp reads them: die d's sensor
// is at SMN kZenReportedTemperatureBase + offset + 4 d, its bit 11 says
// that it holds a measurement, and bits 10..0 are eighths of a degree
// above -49. Which offset and how many dies depends on the model.
inline constexpr std::uint32_t kZenReportedTemperatureBase = 0x0005'9800;
inline constexpr std::uint32_t kDieTemperatureValidBit = 0x0000'0800;
inline constexpr std::uint32_t kDieTemperatureMask = 0x0000'07FF;
inline constexpr long kDieTemperatureZeroMillidegrees = 49'000;

struct DieSensorLayout {
    unsigned firstModel = 0;
    unsigned lastModel = 0;
    std::uint32_t offset = 0;
    unsigned count = 0;  // 0: no die sensors (an unused place)
};

// The place of die `die` (counted from 0) in the system management network.
constexpr std::uint32_t dieTemperatureAddress(const DieSensorLayout& layout, unsigned die)
{
    return kZenReportedTemperatureBase + layout.offset + 4 * die;
}

enum class ThermalDecode {
    // Register text digits 3-4 (bits 23..16) less 49, as whole degrees.
    Thermtrip,
    // Register text digits 1-2 (bits 31..24): the whole degrees of a
    // reading in eighths.
    WholeDegrees,
    // Bits 31..21 in eighths of a degree; 49 less when bits 17..16 are both
    // set (the sensor's other range).
    Eighths,
    // As Eighths, and 49 less also when bit 19 (range select) is set; then
    // the die temperature: less the model's offset of its control reading.
    ZenEighths,
};

struct ProcessorFamily {
    unsigned family;
    unsigned firstModel;
    unsigned lastModel;
    ProcessorVendor vendor;
    // The family number in lower-case hexadecimal.
    std::wstring_view familyCode;
    ThermalRegister thermalRegister;
    ThermalDecode decode;
    // The Linux kernel's driver for it, named as in its hwmon folder.
    std::string_view kernelDriver;
    // For the texts that list the processors.
    std::string_view familyName;
    std::string_view years;
    std::string_view examples;
    // Where its models keep their die sensors; none before Zen.
    std::array<DieSensorLayout, 9> dieSensors{};
};

// k10temp's die sensor layouts by model: families 17h and Hygon's 18h
// share one list.
// clang-format off
inline constexpr std::array<DieSensorLayout, 9> kZenDieSensors{{
    {0x01, 0x01, 0x154, 4},   // Zen
    {0x08, 0x08, 0x154, 4},   // Zen+
    {0x11, 0x11, 0x154, 4},   // Zen APU
    {0x18, 0x18, 0x154, 4},   // Zen+ APU
    {0x31, 0x31, 0x154, 8},   // Zen 2 Threadripper
    {0x60, 0x60, 0x154, 8},   // Renoir
    {0x68, 0x68, 0x154, 8},   // Lucienne
    {0x71, 0x71, 0x154, 8},   // Zen 2
    {0xA0, 0xAF, 0x300, 8},
}};
inline constexpr std::array<DieSensorLayout, 9> kZen3And4DieSensors{{
    {0x00, 0x01, 0x154, 8},   // Zen 3 server and Threadripper
    {0x08, 0x08, 0x154, 8},   // Zen 3 Threadripper
    {0x21, 0x21, 0x154, 8},   // Zen 3 desktop
    {0x50, 0x5F, 0x154, 8},   // Green Sardine
    {0x40, 0x4F, 0x300, 8},   // Yellow Carp
    {0x60, 0x7F, 0x308, 8},   // Zen 4 desktop and mobile
    {0x10, 0x1F, 0x300, 12},  // Zen 4 server
    {0xA0, 0xAF, 0x300, 12},
}};
inline constexpr std::array<DieSensorLayout, 9> kZen5DieSensors{{
    {0x00, 0x2F, 0x1F0, 16},  // Zen 5 server and Threadripper
    {0x40, 0x4F, 0x308, 8},   // Zen 5 desktop
}};
// clang-format on

// clang-format off
inline constexpr ProcessorFamily kProcessorFamilies[] = {
    {0x0F, 0x00, 0xFF, ProcessorVendor::Amd, L"f", ThermalRegister::ThermtripStatus, ThermalDecode::Thermtrip,
     "k8temp", "0Fh", "2003-2008", "Athlon 64, Athlon 64 X2, Opteron, Sempron, Turion 64"},
    {0x10, 0x00, 0xFF, ProcessorVendor::Amd, L"10", ThermalRegister::ReportedTemperature, ThermalDecode::WholeDegrees,
     "k10temp", "10h", "2007-2011", "Phenom, Phenom II, Athlon II, Opteron 2300-6100"},
    {0x11, 0x00, 0xFF, ProcessorVendor::Amd, L"11", ThermalRegister::ReportedTemperature, ThermalDecode::WholeDegrees,
     "k10temp", "11h", "2008-2009", "Turion X2 Ultra, Athlon X2 (Griffin)"},
    {0x12, 0x00, 0xFF, ProcessorVendor::Amd, L"12", ThermalRegister::ReportedTemperature, ThermalDecode::Eighths,
     "k10temp", "12h", "2011-2012", "A4, A6, A8 (Llano)"},
    {0x14, 0x00, 0xFF, ProcessorVendor::Amd, L"14", ThermalRegister::ReportedTemperature, ThermalDecode::Eighths,
     "k10temp", "14h", "2011-2013", "C-, E- and G-Series (Bobcat)"},
    {0x15, 0x00, 0x5F, ProcessorVendor::Amd, L"15", ThermalRegister::ReportedTemperature, ThermalDecode::Eighths,
     "k10temp", "15h, models 00h-5Fh", "2011-2015", "FX, Opteron 4200-6300, A-Series (Trinity, Richland, Kaveri)"},
    {0x15, 0x60, 0x7F, ProcessorVendor::Amd, L"15", ThermalRegister::RootComplexReportedTemperature,
     ThermalDecode::Eighths, "k10temp", "15h, models 60h-7Fh", "2015-2017", "A-Series (Carrizo, Bristol Ridge, Stoney Ridge)"},
    {0x16, 0x00, 0xFF, ProcessorVendor::Amd, L"16", ThermalRegister::ReportedTemperature, ThermalDecode::Eighths,
     "k10temp", "16h", "2013-2015", "Athlon 5350, A4-5000, GX-420 (Jaguar, Puma)"},
    {0x17, 0x00, 0xFF, ProcessorVendor::Amd, L"17", ThermalRegister::SmnReportedTemperature, ThermalDecode::ZenEighths,
     "k10temp", "17h", "2017-2020", "Ryzen 1000-4000, Threadripper 1000-3000, EPYC 7001/7002 (Zen, Zen+, Zen 2)",
     kZenDieSensors},
    {0x18, 0x00, 0xFF, ProcessorVendor::Hygon, L"18", ThermalRegister::SmnReportedTemperature,
     ThermalDecode::ZenEighths, "k10temp", "18h (Hygon)", "2018-", "Hygon Dhyana, C86", kZenDieSensors},
    {0x19, 0x00, 0xFF, ProcessorVendor::Amd, L"19", ThermalRegister::SmnReportedTemperature, ThermalDecode::ZenEighths,
     "k10temp", "19h", "2020-", "Ryzen 5000-8000, EPYC 7003/9004 (Zen 3, Zen 4)", kZen3And4DieSensors},
    {0x1A, 0x00, 0xFF, ProcessorVendor::Amd, L"1a", ThermalRegister::SmnReportedTemperature, ThermalDecode::ZenEighths,
     "k10temp", "1Ah", "2024-", "Ryzen 9000, EPYC 9005 (Zen 5)", kZen5DieSensors},
};
// clang-format on

// The row under which a processor the table does not hold is read where
// the kernel's own driver reads it: the kernel's figure as it stands,
// with no register to decode and no replacement of low readings.
inline constexpr ProcessorFamily kKernelFigureOnly{0x00,
                                                   0x00,
                                                   0xFF,
                                                   ProcessorVendor::Amd,
                                                   L"",
                                                   ThermalRegister::SmnReportedTemperature,
                                                   ThermalDecode::Eighths,
                                                   "k10temp",
                                                   "",
                                                   "",
                                                   ""};

// The row of a processor; none for a family or model the program does not
// know, which then shows no reading.
constexpr const ProcessorFamily* findProcessorFamily(ProcessorVendor vendor, unsigned family, unsigned model)
{
    for (const ProcessorFamily& row : kProcessorFamilies) {
        if (row.vendor == vendor && row.family == family && model >= row.firstModel && model <= row.lastModel)
            return &row;
    }
    return nullptr;
}

// The die sensors of a model of the row; none (count 0) where it has none.
constexpr DieSensorLayout dieSensorsOf(const ProcessorFamily& row, unsigned model)
{
    for (const DieSensorLayout& layout : row.dieSensors) {
        if (layout.count != 0 && model >= layout.firstModel && model <= layout.lastModel)
            return layout;
    }
    return {};
}

// The same by FamilyCode, as the timer tick has it.
constexpr const ProcessorFamily* findProcessorFamily(ProcessorVendor vendor, std::wstring_view familyCode,
                                                     unsigned model)
{
    for (const ProcessorFamily& row : kProcessorFamilies) {
        if (row.vendor == vendor && row.familyCode == familyCode && model >= row.firstModel && model <= row.lastModel)
            return &row;
    }
    return nullptr;
}

// The FamilyCode of any family: its number in lower-case hexadecimal.
inline std::wstring familyCodeOf(unsigned family)
{
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring code;
    do {
        code.insert(code.begin(), kDigits[family % 16]);
        family /= 16;
    } while (family != 0);
    return code;
}

// Bits 31..21 of Reported Temperature Control, in eighths of a degree.
inline constexpr unsigned kEighthsShift = 21;
inline constexpr std::uint32_t kLargestEighths = 0x7FF;
inline constexpr long kMillidegreesPerEighth = 125;
// Bits 17..16 both set: the reading is 49 degrees above the temperature.
inline constexpr std::uint32_t kOtherRangeBits = 0x0003'0000;
// Bit 19 on family 17h and later: the same, by the range select bit.
inline constexpr std::uint32_t kRangeSelectBit = 0x0008'0000;
inline constexpr long kOtherRangeMillidegrees = 49'000;

// Some family 17h parts report a control temperature above the die's, for
// the fans' sake; the kernel takes the offset off by the name string
// (k10temp's tctl_offset_table), and so does Veltaro.
struct DieOffset {
    unsigned family;
    std::string_view brandPart;
    int celsius;
};

// clang-format off
inline constexpr DieOffset kDieOffsets[] = {
    {0x17, "AMD Ryzen 5 1600X", 20},
    {0x17, "AMD Ryzen 7 1700X", 20},
    {0x17, "AMD Ryzen 7 1800X", 20},
    {0x17, "AMD Ryzen 7 2700X", 10},
    {0x17, "AMD Ryzen Threadripper 19", 27},  // 1900X, 1920X, 1950X
    {0x17, "AMD Ryzen Threadripper 29", 27},  // 2920X, 2950X, 2970WX, 2990WX
};
// clang-format on

constexpr int dieOffsetCelsius(unsigned family, std::string_view brandString)
{
    for (const DieOffset& offset : kDieOffsets) {
        if (offset.family == family && brandString.find(offset.brandPart) != std::string_view::npos)
            return offset.celsius;
    }
    return 0;
}

}  // namespace veltaro
