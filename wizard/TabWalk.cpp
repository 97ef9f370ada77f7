#include "wizard/TabWalk.h"

namespace tabwalk {
namespace {

// A radio button after the first entry of a group that still belongs to that group.
bool ContinuesGroup(const TabList& list, std::size_t i)
{
    return i < list.size() && list[i].radio && !list[i].groupStart;
}

// The first checked button after g in g's group that can take the focus, or kNone.
std::size_t AvailableCheckAfter(const TabList& list, std::size_t g)
{
    for (std::size_t i = g + 1; ContinuesGroup(list, i); ++i) {
        if (list[i].checked && list[i].available)
            return i;
    }
    return kNone;
}

std::size_t StepForwardInGroup(const TabList& list, std::size_t i)
{
    if (LastInGroup(list, i) == i)
        return FirstInGroup(list, i);
    return list[i + 1].radio ? i + 1 : kNone;
}

std::size_t StepBackwardInGroup(const TabList& list, std::size_t i)
{
    if (FirstInGroup(list, i) == i)
        return LastInGroup(list, i);
    return list[i - 1].radio ? i - 1 : kNone;
}

// Steps through from's group until a button that can take the focus; from itself ends the
// walk, so a group whose other buttons are all unavailable answers from.
template <class Step>
std::size_t WalkRadios(const TabList& list, std::size_t from, Step step)
{
    if (from >= list.size() || !list[from].radio)
        return kNone;
    std::size_t candidate = step(list, from);
    for (std::size_t steps = 0; steps < list.size(); ++steps) {
        if (candidate == kNone || candidate == from || list[candidate].available)
            return candidate;
        candidate = step(list, candidate);
    }
    return kNone;
}

}  // namespace

std::size_t LastInGroup(const TabList& list, std::size_t r)
{
    if (r >= list.size())
        return kNone;
    std::size_t last = r;
    while (ContinuesGroup(list, last + 1))
        ++last;
    return last;
}

std::size_t FirstInGroup(const TabList& list, std::size_t r)
{
    if (r >= list.size())
        return kNone;
    std::size_t first = r;
    for (std::size_t i = r + 1; i-- > 0;) {
        if (!list[i].radio)
            break;
        if (list[i].groupStart)
            return i;
        first = i;
    }
    return first;
}

bool GroupHasNoCheck(const TabList& list, std::size_t g)
{
    if (g >= list.size() || list[g].checked)
        return false;
    for (std::size_t i = g + 1; ContinuesGroup(list, i); ++i) {
        if (list[i].checked)
            return false;
    }
    return true;
}

std::size_t NextTabStop(const TabList& list, std::size_t from)
{
    const std::size_t begin = from < list.size() ? from + 1 : 0;
    for (std::size_t i = begin; i < list.size(); ++i) {
        const TabEntry& e = list[i];
        if (!e.available)
            continue;
        if (!e.radio || e.checked)
            return i;
        if (e.groupStart) {
            const std::size_t checked = AvailableCheckAfter(list, i);
            return checked != kNone ? checked : i;
        }
    }
    return kNone;
}

std::size_t PrevTabStop(const TabList& list, std::size_t from)
{
    if (from >= list.size()) {
        for (std::size_t i = list.size(); i-- > 0;) {
            if (list[i].available)
                return i;
        }
        return kNone;
    }
    for (std::size_t i = from; i-- > 0;) {
        const TabEntry& e = list[i];
        if (!e.available)
            continue;
        if (!e.radio || e.checked)
            return i;
        if (e.groupStart && AvailableCheckAfter(list, i) == kNone)
            return i;
    }
    return kNone;
}

std::size_t NextRadio(const TabList& list, std::size_t from)
{
    return WalkRadios(list, from, StepForwardInGroup);
}

std::size_t PrevRadio(const TabList& list, std::size_t from)
{
    return WalkRadios(list, from, StepBackwardInGroup);
}

}  // namespace tabwalk
