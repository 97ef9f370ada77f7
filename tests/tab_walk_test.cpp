// Keyboard navigation over a page's tab list: one table of lists and questions, asked once
// of the plain walk functions and once of a page whose list holds real controls.

#include "wizard/TabWalk.h"
#include "wizard/WindowState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each case is a list and questions about it. A list is written as tokens: K edit box,
// C check box, D default push button, O owner-drawn button, M radio button without automatic
// check, G radio button that starts a group, r radio button; '*' checked, '-' disabled,
// '~' hidden. A question is three characters: the walk (N next tab stop, P previous, R next
// radio, B previous radio, F first and L last in group, H group has no check), the index it
// starts from, the answer (for H 1 or 0). '.' is a null handle or answer, 'x' a control that
// is not in the list.
const std::pair<const char*, const char*> kCases[] = {
    {"", "N.. P.. Nx. Px. R.. Bx."},
    {"K K K", "N.0 N01 N2. Nx0 P.2 P21 P0. Px2 R1."},
    // One group with its middle button checked, then an edit box; wrap-around inside it.
    {"G r* r K", "N.1 N13 N01 P31 P1. P.3 R20 R01 B02 B10 R3. F20 L02 L33 Fx. H00"},
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

bool Has(const std::string& token, char mark) { return token.find(mark) != std::string::npos; }

tabwalk::TabEntry Describe(const std::string& token)
{
    const bool radio = token[0] == 'G' || token[0] == 'r';
    return {radio, token[0] == 'G', radio && Has(token, '*'),
            !Has(token, '-') && !Has(token, '~')};
}

HWND Create(HWND host, const std::string& token)
{
    const std::map<char, DWORD> types = {
        {'K', ES_AUTOHSCROLL}, {'C', BS_AUTOCHECKBOX},    {'D', BS_DEFPUSHBUTTON},
        {'O', BS_OWNERDRAW},   {'M', BS_RADIOBUTTON},     {'G', BS_AUTORADIOBUTTON | WS_GROUP},
        {'r', BS_AUTORADIOBUTTON}};
    const DWORD style = WS_CHILD | types.at(token[0]) | (Has(token, '~') ? 0 : WS_VISIBLE) |
                        (Has(token, '-') ? WS_DISABLED : 0);
    const HWND control = CreateWindowExA(0, token[0] == 'K' ? "EDIT" : "button", "", style, 0, 0,
                                         50, 20, host, nullptr, nullptr, nullptr);
    if (Has(token, '*'))
        SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    return control;
}

char Answer(std::size_t i) { return i == tabwalk::kNone ? '.' : static_cast<char>('0' + i); }

TEST(TabWalk, PlainDescriptionAndRealControlsInAHiddenWindowAgree)
{
    using PlainWalk = std::size_t (*)(const tabwalk::TabList&, std::size_t);
    using PageWalk = std::function<HWND(WindowState&, HWND)>;
    const std::map<char, std::pair<PlainWalk, PageWalk>> walks = {
        {'N', {tabwalk::NextTabStop, &WindowState::NextTabStop}},
        {'P', {tabwalk::PrevTabStop, &WindowState::PrevTabStop}},
        {'R', {tabwalk::NextRadio, &WindowState::NextRadio}},
        {'B', {tabwalk::PrevRadio, &WindowState::PrevRadio}},
        {'F', {tabwalk::FirstInGroup, &WindowState::FirstInGroup}},
        {'L', {tabwalk::LastInGroup, &WindowState::LastInGroup}}};

    for (const auto& [listText, questionText] : kCases) {
        const HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr,
                                          nullptr, nullptr, nullptr);
        const HWND outside = Create(host, "K");
        tabwalk::TabList list;
        std::vector<HWND> controls;
        WindowState page(nullptr);
        std::istringstream tokens(listText);
        for (std::string token; tokens >> token;) {
            list.push_back(Describe(token));
            controls.push_back(Create(host, token));
            page.AddControl(controls.back());
            page.AddControl(nullptr);  // ignored: kept, it would break the groups up
        }
        std::istringstream questions(questionText);
        for (std::string q; questions >> q;) {
            const bool inList = q[1] != '.' && q[1] != 'x';
            const std::size_t from = inList ? q[1] - '0' : tabwalk::kNone;
            const HWND control = inList ? controls[from] : q[1] == 'x' ? outside : nullptr;
            char plain = 0, real = 0;
            if (q[0] == 'H') {
                plain = tabwalk::GroupHasNoCheck(list, from) ? '1' : '0';
                real = page.GroupHasNoCheck(control) ? '1' : '0';
            } else {
                plain = Answer(walks.at(q[0]).first(list, from));
                const HWND h = walks.at(q[0]).second(page, control);
                const auto at = std::find(controls.begin(), controls.end(), h);
                real = h == nullptr             ? '.'
                       : at == controls.end() ? 'x'
                                              : Answer(at - controls.begin());
            }
            EXPECT_EQ(q[2], plain) << "plain walk, list \"" << listText << "\", " << q;
            EXPECT_EQ(q[2], real) << "real controls, list \"" << listText << "\", " << q;
        }
        DestroyWindow(host);
    }
}

TEST(TabWalk, AControlAddedTwiceIsInTheListTwice)
{
    const HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr,
                                      nullptr, nullptr, nullptr);
    const HWND k1 = Create(host, "K"), k2 = Create(host, "K");
    WindowState page(nullptr);
    for (HWND control : {k1, k2, k1})
        page.AddControl(control);
    EXPECT_EQ(k2, page.NextTabStop(k1));  // found at its first place
    EXPECT_EQ(k1, page.NextTabStop(k2));
    EXPECT_EQ(k1, page.PrevTabStop(nullptr));
    EXPECT_EQ(nullptr, page.PrevTabStop(k1));
    DestroyWindow(host);
}

}  // namespace
