// Keyboard navigation over a page's tab list: one table of lists and questions, asked once
// of the plain walk functions and once of a page whose list holds real controls.

#include "wizard/TabWalk.h"
#include "wizard/WindowState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A list is written as tokens: K edit box, C check box, D default push button, O owner-drawn
// button, P non-automatic radio button, G radio button that starts a group, r radio button;
// '*' checked, '-' disabled, '~' hidden.
std::vector<std::string> Tokens(const std::string& list)
{
    std::istringstream in(list);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;)
        tokens.push_back(token);
    return tokens;
}

enum class Ask { Next, Prev, NextRadio, PrevRadio, First, Last, NoCheck };

constexpr int kNull = -1;     // a null handle, or a null answer
constexpr int kForeign = -2;  // a control that is not in the list

struct Question {
    Ask ask;
    int from;
    int answer;  // an index, kNull; for NoCheck 1 or 0
};

struct Case {
    const char* list;
    std::vector<Question> questions;
};

const std::vector<Case>& Cases()
{
    using A = Ask;
    static const std::vector<Case> cases = {
        {"", {{A::Next, kNull, kNull}, {A::Prev, kNull, kNull}, {A::Next, kForeign, kNull},
              {A::Prev, kForeign, kNull}, {A::NextRadio, kNull, kNull},
              {A::PrevRadio, kForeign, kNull}}},
        {"K K K", {{A::Next, kNull, 0}, {A::Next, 0, 1}, {A::Next, 2, kNull},
                   {A::Next, kForeign, 0}, {A::Prev, kNull, 2}, {A::Prev, 2, 1},
                   {A::Prev, 0, kNull}, {A::Prev, kForeign, 2}, {A::NextRadio, 1, kNull}}},
        // One group with its middle button checked, then an edit box.
        {"G r* r K", {{A::Next, kNull, 1}, {A::Next, 1, 3}, {A::Next, 0, 1},
                      {A::Prev, 3, 1}, {A::Prev, 1, kNull}, {A::Prev, kNull, 3},
                      {A::NextRadio, 2, 0}, {A::NextRadio, 0, 1}, {A::PrevRadio, 0, 2},
                      {A::PrevRadio, 1, 0}, {A::NextRadio, 3, kNull}, {A::First, 2, 0},
                      {A::Last, 0, 2}, {A::Last, 3, 3}, {A::First, kForeign, kNull},
                      {A::NoCheck, 0, 0}}},
        {"G r r K", {{A::Next, kNull, 0}, {A::Next, 0, 3}, {A::Prev, 3, 0},
                     {A::NoCheck, 0, 1}, {A::NoCheck, 1, 1}, {A::NoCheck, 3, 1}}},
        // Two adjacent groups, the second one checked.
        {"G r G* r", {{A::Next, kNull, 0}, {A::Next, 0, 2}, {A::Next, 2, kNull},
                      {A::Prev, kNull, 3}, {A::Prev, 2, 0}, {A::NextRadio, 1, 0},
                      {A::PrevRadio, 2, 3}, {A::Last, 0, 1}, {A::First, 3, 2},
                      {A::NoCheck, 0, 1}, {A::NoCheck, 2, 0}}},
        // A group that begins after a non-radio entry without a group start.
        {"K r r*", {{A::Next, 0, 2}, {A::First, 2, 1}, {A::NextRadio, 2, 1},
                    {A::PrevRadio, 1, 2}, {A::Prev, 2, 0}}},
        // Buttons that are no automatic radio buttons are tab stops of their own.
        {"C D O P*", {{A::Next, kNull, 0}, {A::Next, 0, 1}, {A::Next, 1, 2}, {A::Next, 2, 3},
                      {A::Prev, 3, 2}, {A::NextRadio, 0, kNull}, {A::NextRadio, 1, kNull},
                      {A::NextRadio, 2, kNull}, {A::PrevRadio, 3, kNull}}},
        // The lone button after the check box starts no group, so Tab never stops at it.
        {"G* C r", {{A::NextRadio, 0, 0}, {A::Last, 0, 0}, {A::Next, 0, 1}, {A::Next, 1, kNull},
                    {A::NextRadio, 2, 2}}},
        // Hidden and disabled controls cannot take the focus and are passed over.
        {"K K- K~ K", {{A::Next, 0, 3}, {A::Prev, 3, 0}, {A::Prev, kNull, 3}}},
        {"K K- K~", {{A::Prev, kNull, 0}, {A::Next, 0, kNull}}},
        {"G r- r K", {{A::NextRadio, 0, 2}, {A::PrevRadio, 2, 0}, {A::Next, kNull, 0}}},
        {"G* r- r~", {{A::NextRadio, 0, 0}, {A::PrevRadio, 0, 0}}},
        // A checked button that cannot take the focus leaves the group's first button.
        {"G r*- r K", {{A::Next, kNull, 0}, {A::Prev, 3, 0}, {A::Next, 0, 3}}},
        {"G- r r* K", {{A::Next, kNull, 2}, {A::Prev, 3, 2}, {A::NextRadio, 2, 1}}},
    };
    return cases;
}

tabwalk::TabEntry Describe(const std::string& token)
{
    tabwalk::TabEntry entry;
    entry.radio = token[0] == 'G' || token[0] == 'r';
    entry.groupStart = token[0] == 'G';
    entry.checked = entry.radio && token.find('*') != std::string::npos;
    entry.available = token.find_first_of("-~") == std::string::npos;
    return entry;
}

// A hidden top-level window whose child controls make up a page's tab list.
class ControlHost {
public:
    ControlHost() : window_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr,
                                            nullptr, nullptr, nullptr)) {}
    ~ControlHost() { DestroyWindow(window_); }
    HWND Window() const { return window_; }

    HWND Create(const std::string& token)
    {
        const char* className = token[0] == 'K' ? "EDIT" : "button";
        const DWORD type = token[0] == 'C' ? BS_AUTOCHECKBOX
                         : token[0] == 'D' ? BS_DEFPUSHBUTTON
                         : token[0] == 'O' ? BS_OWNERDRAW
                         : token[0] == 'P' ? BS_RADIOBUTTON
                         : token[0] == 'G' ? BS_AUTORADIOBUTTON | WS_GROUP
                         : token[0] == 'r' ? BS_AUTORADIOBUTTON : ES_AUTOHSCROLL;
        DWORD style = WS_CHILD | type;
        if (token.find('~') == std::string::npos)
            style |= WS_VISIBLE;
        if (token.find('-') != std::string::npos)
            style |= WS_DISABLED;
        const HWND control = CreateWindowExA(0, className, "", style, 0, 0, 50, 20, window_,
                                             nullptr, nullptr, nullptr);
        if (token.find('*') != std::string::npos)
            SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
        return control;
    }

private:
    HWND window_;
};

TEST(TabWalk, PlainDescriptionAndRealControlsInAHiddenWindowAgree)
{
    using PlainWalk = std::size_t (*)(const tabwalk::TabList&, std::size_t);
    const PlainWalk plainWalks[] = {tabwalk::NextTabStop, tabwalk::PrevTabStop,
                                    tabwalk::NextRadio,   tabwalk::PrevRadio,
                                    tabwalk::FirstInGroup, tabwalk::LastInGroup};
    using PageWalk = std::function<HWND(WindowState&, HWND)>;
    const PageWalk pageWalks[] = {&WindowState::NextTabStop,  &WindowState::PrevTabStop,
                                  &WindowState::NextRadio,    &WindowState::PrevRadio,
                                  &WindowState::FirstInGroup, &WindowState::LastInGroup};

    for (const Case& c : Cases()) {
        tabwalk::TabList list;
        ControlHost host;
        ASSERT_FALSE(IsWindowVisible(host.Window()));
        const HWND foreign = host.Create("K");
        WindowState page(nullptr);
        std::vector<HWND> controls;
        for (const std::string& token : Tokens(c.list)) {
            list.push_back(Describe(token));
            controls.push_back(host.Create(token));
            page.AddControl(controls.back());
        }
        for (const Question& q : c.questions) {
            const std::size_t from = q.from < 0 ? tabwalk::kNone : static_cast<std::size_t>(q.from);
            const HWND fromControl = q.from == kNull ? nullptr
                                     : q.from == kForeign ? foreign : controls[q.from];
            int plain = 0, real = 0;
            if (q.ask == Ask::NoCheck) {
                plain = tabwalk::GroupHasNoCheck(list, from);
                real = page.GroupHasNoCheck(fromControl);
            } else {
                const std::size_t i = plainWalks[static_cast<int>(q.ask)](list, from);
                plain = i == tabwalk::kNone ? kNull : static_cast<int>(i);
                const HWND h = pageWalks[static_cast<int>(q.ask)](page, fromControl);
                const auto at = std::find(controls.begin(), controls.end(), h);
                real = h == nullptr ? kNull
                       : at == controls.end() ? kForeign : static_cast<int>(at - controls.begin());
            }
            const std::string where = std::string("list \"") + c.list + "\", question " +
                                      std::to_string(static_cast<int>(q.ask)) + " from " +
                                      std::to_string(q.from);
            EXPECT_EQ(q.answer, plain) << "plain " << where;
            EXPECT_EQ(q.answer, real) << "controls " << where;
        }
    }
}

TEST(TabWalk, NullDuplicateRemovedAndDestroyedControls)
{
    ControlHost host;
    const HWND k1 = host.Create("K"), k2 = host.Create("K");
    WindowState page(nullptr);
    page.AddControl(nullptr);
    EXPECT_EQ(nullptr, page.PrevTabStop(nullptr));

    // k1, k2, k1: a handle that is there twice is found at its first place.
    for (HWND control : {k1, static_cast<HWND>(nullptr), k2, k1})
        page.AddControl(control);
    EXPECT_EQ(k2, page.NextTabStop(k1));
    EXPECT_EQ(k1, page.NextTabStop(k2));
    EXPECT_EQ(nullptr, page.PrevTabStop(k1));

    page.RemoveControl(k1);             // k2, k1
    page.RemoveControl(host.Window());  // not in the list
    EXPECT_EQ(k2, page.NextTabStop(nullptr));
    EXPECT_EQ(k1, page.NextTabStop(k2));

    DestroyWindow(k1);  // a control that is gone cannot take the focus
    EXPECT_EQ(nullptr, page.NextTabStop(k2));
    EXPECT_EQ(k2, page.PrevTabStop(nullptr));
}

}  // namespace
