#pragma once
// Keyboard navigation over a page's tab list, decided on a plain description of the list
// so that it needs no windows. A group of radio buttons is one tab stop: its checked
// button, or its first button while none is checked.

#include <cstddef>
#include <vector>

namespace tabwalk {

struct TabEntry {
    bool radio = false;       // an automatic radio button
    bool groupStart = false;  // a radio button that starts a group
    bool checked = false;     // a radio button that is checked
    bool available = true;    // shown and enabled: it can take the focus
};

using TabList = std::vector<TabEntry>;

// "No entry": the answer null, or a control that is not in the list.
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The last entry of r's group, walking forward from r; kNone when r is not in the list.
std::size_t LastInGroup(const TabList& list, std::size_t r);
// The first entry of r's group, walking backward from r; kNone when r is not in the list.
std::size_t FirstInGroup(const TabList& list, std::size_t r);
// True when neither g nor any radio button after it in its group is checked.
bool GroupHasNoCheck(const TabList& list, std::size_t g);

// The tab stop after from (from kNone: the first one); kNone when the walk leaves the list.
std::size_t NextTabStop(const TabList& list, std::size_t from);
// The tab stop before from; from kNone gives the last available entry, whatever it is.
std::size_t PrevTabStop(const TabList& list, std::size_t from);

// The radio button that the arrow keys select after or before from, wrapping around within
// its group and passing over buttons that cannot take the focus; kNone when from is not a
// radio button of the list.
std::size_t NextRadio(const TabList& list, std::size_t from);
std::size_t PrevRadio(const TabList& list, std::size_t from);

}  // namespace tabwalk
