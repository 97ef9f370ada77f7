#include "core/PrinterList.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

TEST(PrinterList, DisplayNames)
{
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {"\\\\S\\Q", "Q on S"}, {"\\\\S\\Q\\R", "Q\\R on S"}, {"\\\\S", ""}, {"\\\\", ""},
             {"\\\\print-01\\Labels 2nd floor", "Labels 2nd floor on print-01"}, {"a\\b", "a\\b"},
             {"\\a\\b", "\\a\\b"}, {"Kestrola Capture", "Kestrola Capture"}, {"", ""}})
        EXPECT_EQ(c.second, PrinterDisplayName(c.first)) << c.first;
}

// The default printer first and once, then the others in the spooler's (alphabetical) order.
TEST(PrinterList, DefaultFirstThenTheOthers)
{
    PrinterSetup printers;
    printers.RemoveAll();
    EXPECT_TRUE(GetPrinterList().empty());
    const std::string A = "Kestrola List A", B = "Kestrola List B", C = "Kestrola List C";
    CapturePrinter a(A), b(B), c(C);
    const struct {
        const char* device;  // null: no default printer
        std::vector<std::string> names;
    } cases[] = {
        {nullptr, {A, B, C}},
        {"kestrola list b", {"kestrola list b", A, C}},  // the same printer in another case
        {"Kestrola List C", {C, A, B}},
    };
    for (const auto& row : cases) {
        if (row.device)
            printers.SetDefault(row.device);
        std::vector<std::string> names;
        for (const PrinterEntry& entry : GetPrinterList())
            names.push_back(entry.displayName == entry.name ? entry.name : "<shown otherwise>");
        EXPECT_EQ(row.names, names) << (row.device ? row.device : "no default");
    }
}

}  // namespace
