// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "processorfamilies.h"

// The README, the manual page and the package texts repeat which
// processors Veltaro reads. These tests derive what they must say from
// kProcessorFamilies, so that a row added to the table, or one changed,
// fails here until every text says so too.

namespace veltaro::testing {
namespace {

namespace fs = std::filesystem;

std::string readSourceFile(const std::string& relativePath)
{
    std::ifstream file(fs::path(VELTARO_SOURCE_DIR) / relativePath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Each run of white space as one space: the texts wrap their lines where
// they like, and the Debian control file indents its continuation lines.
std::string flowed(std::string_view text)
{
    std::string result;
    bool inSpace = false;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            inSpace = true;
            continue;
        }
        if (inSpace && !result.empty())
            result += ' ';
        inSpace = false;
        result += c;
    }
    return result;
}

// A family number as the texts write it: "0Fh", "1Ah".
std::string familyNumber(unsigned family)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[(family >> 4) & 0xF], kDigits[family & 0xF], 'h'};
}

// Every family of the table once, in numeric order, Hygon's marked:
// "0Fh, 10h, ..., 18h (Hygon), 19h and 1Ah".
std::string familyList()
{
    std::map<unsigned, ProcessorVendor> families;
    for (const ProcessorFamily& row : kProcessorFamilies)
        families.emplace(row.family, row.vendor);
    std::string list;
    std::size_t index = 0;
    for (const auto& [family, vendor] : families) {
        if (index > 0)
            list += index + 1 == families.size() ? " and " : ", ";
        list += familyNumber(family);
        if (vendor == ProcessorVendor::Hygon)
            list += " (Hygon)";
        ++index;
    }
    return list;
}

// The one-line summary's own words: "AMD and Hygon processors, families
// 0Fh to 1Ah".
std::string familySummary()
{
    const auto [lowest, highest] =
        std::minmax_element(std::begin(kProcessorFamilies), std::end(kProcessorFamilies),
                            [](const ProcessorFamily& a, const ProcessorFamily& b) { return a.family < b.family; });
    const bool anyHygon = std::any_of(std::begin(kProcessorFamilies), std::end(kProcessorFamilies),
                                      [](const ProcessorFamily& row) { return row.vendor == ProcessorVendor::Hygon; });
    return std::string(anyHygon ? "AMD and Hygon" : "AMD") + " processors, families " + familyNumber(lowest->family) +
           " to " + familyNumber(highest->family);
}

// The README table's "where the reading comes from" cell of a row.
std::string readingSource(const ProcessorFamily& row)
{
    std::string source;
    switch (row.thermalRegister) {
    case ThermalRegister::ThermtripStatus:
        source = "F3xE4 (Thermtrip Status)";
        break;
    case ThermalRegister::ReportedTemperature:
        source = "F3xA4 (Reported Temperature Control)";
        break;
    case ThermalRegister::RootComplexReportedTemperature:
        source = "D0F0xBC_xD820_0CA4 behind D0F0xB8/D0F0xBC";
        break;
    case ThermalRegister::SmnReportedTemperature:
        source = "SMN 0x00059800 through D0F0x60/D0F0x64";
        break;
    }
    return source + "; `" + std::string(row.kernelDriver) + "`";
}

// The lines of a section: from the line that is exactly `heading` up to
// the next line that starts like a heading.
std::vector<std::string> sectionLines(const std::string& text, const std::string& heading,
                                      const std::string& nextHeadingPrefix)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    bool inside = false;
    for (std::string line; std::getline(stream, line);) {
        if (line == heading) {
            inside = true;
            continue;
        }
        if (inside && line.rfind(nextHeadingPrefix, 0) == 0)
            break;
        if (inside)
            lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> tableCells(const std::string& line)
{
    std::vector<std::string> cells;
    std::string_view rest(line);
    rest.remove_prefix(2);  // "| "
    for (std::size_t bar; (bar = rest.find(" |")) != std::string_view::npos;) {
        cells.emplace_back(rest.substr(0, bar));
        rest.remove_prefix(std::min(rest.size(), bar + 3));
    }
    return cells;
}

TEST(FamilyTexts, ReadmeTableHasEveryRowWithItsYearsExamplesAndSource)
{
    const std::string readme = readSourceFile("README.md");
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : sectionLines(readme, "## Which processors", "## ")) {
        if (line.rfind("| ", 0) == 0)
            rows.push_back(tableCells(line));
    }
    ASSERT_EQ(rows.size(), std::size(kProcessorFamilies) + 1) << "a heading row and one row per family";
    for (std::size_t i = 0; i < std::size(kProcessorFamilies); ++i) {
        const ProcessorFamily& family = kProcessorFamilies[i];
        const std::vector<std::string>& cells = rows[i + 1];
        SCOPED_TRACE(family.familyName);
        ASSERT_EQ(cells.size(), 5u);
        EXPECT_EQ(cells[0], family.familyName);
        EXPECT_EQ(cells[1], family.years);
        EXPECT_EQ(cells[2], family.examples);
        EXPECT_EQ(cells[3], readingSource(family));
        EXPECT_FALSE(cells[4].empty()) << "say how the family is tested";
    }
}

TEST(FamilyTexts, ManualPageListsEveryRowInOrder)
{
    std::vector<std::string> names;
    for (const std::string& line :
         sectionLines(readSourceFile("packaging/linux/man/veltaro.1"), ".SH PROCESSORS", ".SH "))
        if (line.rfind(".B ", 0) == 0)
            names.push_back(line.substr(3));
    std::vector<std::string> expected;
    for (const ProcessorFamily& family : kProcessorFamilies)
        expected.emplace_back(family.familyName);
    EXPECT_EQ(names, expected);
}

struct PhraseCase {
    const char* file;
    bool summary;  // else the whole list of families
};

// The short texts (the project description, which is also the software
// catalogue's summary, the menu entry, the package synopsis, the manual
// page's name line) carry the summary; the longer ones the whole list.
const PhraseCase kPhrases[] = {
    {"CMakeLists.txt", true},
    {"packaging/linux/org.example.veltaro.desktop", true},
    {"debian/control", true},
    {"packaging/linux/man/veltaro.1", true},
    {"README.md", false},
    {"packaging/linux/man/veltaro.1", false},
    {"packaging/linux/org.example.veltaro.metainfo.xml.in", false},
    {"debian/control", false},
    {"packaging/windows/README.txt.in", false},
};

TEST(FamilyTexts, EveryTextNamesTheFamiliesOfTheTable)
{
    const std::string summary = familySummary();
    const std::string list = "families " + familyList();
    for (const PhraseCase& phrase : kPhrases) {
        const std::string& expected = phrase.summary ? summary : list;
        SCOPED_TRACE(std::string(phrase.file) + ": " + expected);
        const std::string text = flowed(readSourceFile(phrase.file));
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(text.find(expected) != std::string::npos) << "the text does not say it";
    }
}

}  // namespace
}  // namespace veltaro::testing
