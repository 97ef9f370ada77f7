// Keyboard navigation over a page's tab list: one table of lists and questions, asked of the
// plain walk functions; and a page whose real controls cannot all take the focus.

#include "wizard/TabWalk.h"
#include "wizard/WindowState.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

// Each case is a list and questions about it. A list is written as tokens: K edit box,
// C check box, D default push button, O owner-drawn button, M radio button without automatic
// check, G radio button that starts a group, r radio button; '*' checked, '-' disabled,
// '~' hidden. A question is three characters: the walk (N next tab stop, P previous, R next
// radio, B previous radio, F first and L last in group, H group has no check), the index it
// starts from, the answer (for H 1 or 0). '.' is no entry (kNone).
const std::pair<const char*, const char*> kCases[] = {
    {"", "N.. P.. R.."},
    {"K K K", "N.0 N01 N2. P.2 P21 P0. R1."},
    // One group with its middle button checked, then an edit box; wrap-around inside it.
    {"G r* r K", "N.1 N13 N01 P31 P1. P.3 R20 R01 B02 B10 R3. F20 L02 L33 H00"},
    {"G r r K", "N.0 N03 P30 H01 H11 H31"},
    // Two adjacent groups, the second one checked.
    {"G r G* r", "N.0 N02 N2. P.3 P20 R10 B23 L01 F32 H01 H20"},
    // A group that begins after a non-radio entry without a group start.
    {"K r r*", "N02 F21 R21 B12 P20"},
    // Buttons that are no automatic radio buttons are tab stops of their own.
    {"C D O M*", "N.0 N01 N12 N23 P32 R0. R1. R2. B3."},
    // The lone button after the check box starts no group, so Tab never stops at it.
    {"G* C r", "R00 L00 N01 N1. R22"},
    // Hidden and disabled controls cannot take the focus and are passed over.
    {"K K- K~ K", "N03 P30 P.3"},
    {"K K- K~", "P.0 N0."},
    {"G r- r K", "R02 B20 N.0"},
    {"G* r- r~", "R00 B00"},
    // A checked button that cannot take the focus leaves the group's first button.
    {"G r*- r K", "N.0 P30 N03"},
    {"G- r r* K", "N.2 P32 R21"},
};

using Walk = std::size_t (*)(const tabwalk::TabList&, std::size_t);
std::size_t GroupHasNoCheck(const tabwalk::TabList& list, std::size_t g)
{
    return tabwalk::GroupHasNoCheck(list, g) ? 1 : 0;
}

TEST(TabWalk, ListsAndQuestions)
{
    const std::map<char, Walk> walks = {
        {'N', tabwalk::NextTabStop}, {'P', tabwalk::PrevTabStop},   {'R', tabwalk::NextRadio},
        {'B', tabwalk::PrevRadio},   {'F', tabwalk::FirstInGroup},  {'L', tabwalk::LastInGroup},
        {'H', GroupHasNoCheck}};
    for (const auto& [listText, questionText] : kCases) {
        tabwalk::TabList list;
        std::istringstream tokens(listText), questions(questionText);
        for (std::string t; tokens >> t;) {
            const bool radio = t[0] == 'G' || t[0] == 'r';
            const auto has = [&](char mark) { return t.find(mark) != std::string::npos; };
            list.push_back({radio, t[0] == 'G', radio && has('*'), !has('-') && !has('~')});
        }
        for (std::string q; questions >> q;) {
            const std::size_t answer = walks.at(q[0])(list, q[1] == '.' ? tabwalk::kNone : q[1] - '0');
            EXPECT_EQ(q[2], answer == tabwalk::kNone ? '.' : char('0' + answer))
                << "list \"" << listText << "\", " << q;
        }
    }
}

// A page's controls that are hidden or disabled, themselves or through their parent, are
// no tab stops.
TEST(TabWalk, PageSkipsControlsThatCannotTakeTheFocus)
{
    const HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                      nullptr, nullptr);
    const HWND box = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0,
                                     100, 100, host, nullptr, nullptr, nullptr);
    WindowState page(nullptr);
    HWND edits[4];
    for (int i = 0; i < 4; ++i)
        page.AddControl(edits[i] = CreateWindowExA(0, "EDIT", "", WS_CHILD | (i == 1 ? 0 : WS_VISIBLE),
                                                   0, 0, 50, 20, i == 2 ? box : host, nullptr,
                                                   nullptr, nullptr));
    EXPECT_EQ(edits[3], page.NextTabStop(edits[0]));
    EXPECT_EQ(edits[0], page.PrevTabStop(edits[3]));
    DestroyWindow(host);
}

}  // namespace
