#include "core/PrinterList.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

TEST(PrinterList, DisplayNames)
{
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {"\\\\print-01\\Labels 2nd floor", "Labels 2nd floor on print-01"}, {"\\\\S", ""},
             {"\\\\S\\Q\\R", "Q\\R on S"}, {"\\\\", ""}, {"\\a\\b", "\\a\\b"}, {"", ""}})
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
    // No default printer, then the same printer as listed in another case, then the last.
    for (const auto& row : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"", {A, B, C}}, {"kestrola list b", {"kestrola list b", A, C}}, {C, {C, A, B}}}) {
        if (!row.first.empty())
            printers.SetDefault(row.first);
        std::vector<std::string> names;
        for (const PrinterEntry& entry : GetPrinterList())
            names.push_back(entry.displayName == entry.name ? entry.name : "<shown otherwise>");
        EXPECT_EQ(row.second, names) << row.first;
    }
}

TEST(PrinterList, ThePickedPrinterIsTheOneShownAtTheSelectionIfStillThere)
{
    const PrinterEntry conn = {"\\\\srv\\queue", "queue on srv"}, a = {"A", "A"}, b = {"B", "B"},
                       added = {"AAA New", "AAA New"};
    const std::vector<PrinterEntry> shown = {conn, a, b};
    const struct {
        long selection;
        std::vector<PrinterEntry> current;
        std::string picked;
    } cases[] = {
        {0, shown, conn.name},           // the connection's name, not what the box shows
        {2, {conn, added, a, b}, "B"},   // a printer added before the picked one
        {2, {conn, b}, "B"},             // one removed before it
        {1, {conn, b}, ""},              // the picked one removed
        {-1, shown, ""},                 // nothing selected
        {3, {conn, a, b, added}, ""},    // past the list the box was filled from
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.picked, PickedPrinter(shown, c.selection, c.current)) << c.selection;
}

}  // namespace
