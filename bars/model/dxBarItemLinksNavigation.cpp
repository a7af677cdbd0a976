// Keyboard navigation over item links: the links that fit their window, stepping between
// selectable links, and accelerators.
#include "dxBarItemLink.h"

#include "dxBarBar.h"
#include "dxBarItem.h"
#include "dxBarServices.h"

namespace {

bool Selectable(const TdxBarItemLink* link)
{
    return link && link->Control() && link->Control()->CanSelect();
}

// The virtual key that types c with no modifier; 0 when no key is known for it.
int VirtualKeyOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z') return 'A' + (u - u'a');
    if (u >= u'0' && u <= u'9') return u;
    return QtKeyToVK(c.toUpper().unicode());
}

}  // namespace

bool dxBarIsAccel(const QString& caption, int key, TShiftState shift)
{
    const QChar accel = dxBarCaptionAccelChar(caption);
    if (accel.isNull()) return false;
    const QChar lowered = accel.toLower();
    shift &= ~TShiftState(ssAlt);
    if (accel != lowered) shift &= ~TShiftState(ssShift);
    const int vk = VirtualKeyOf(lowered);
    return vk != 0 && vk == key && (shift & (ssShift | ssCtrl)) == TShiftState();
}

int TdxBarItemLinks::FittingVisibleCount() const
{
    if (!qobject_cast<const TdxBar*>(Owner())) return VisibleItemCount();
    if (!barControl_) return 0;
    const QRect client = dxBarWindowServices().BarWindowClientRect(barControl_);
    int count = 0;
    for (const TdxBarItemLink* link : visible_) {
        const QRect r = link->ItemRect();
        if (r.isEmpty() || !client.contains(r)) break;
        ++count;
    }
    return count;
}

TdxBarItemLink* TdxBarItemLinks::First() const
{
    const int n = FittingVisibleCount();
    for (int i = 0; i < n; ++i)
        if (Selectable(visible_[i])) return visible_[i];
    return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::Last() const
{
    for (int i = FittingVisibleCount() - 1; i >= 0; --i)
        if (Selectable(visible_[i])) return visible_[i];
    return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::Step(TdxBarItemLink* link, int direction) const
{
    const int n = FittingVisibleCount();
    const int from = link ? int(visible_.indexOf(link)) : -1;
    if (from < 0 || from >= n) return direction > 0 ? First() : Last();
    // One full pass, ending on the link itself.
    for (int step = 1; step <= n; ++step) {
        TdxBarItemLink* candidate = visible_[((from + direction * step) % n + n) % n];
        if (Selectable(candidate)) return candidate;
    }
    return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::Next(TdxBarItemLink* link) const
{
    return Step(link, 1);
}

TdxBarItemLink* TdxBarItemLinks::Prev(TdxBarItemLink* link) const
{
    return Step(link, -1);
}

TdxBarItemLink* TdxBarItemLinks::FindByAccelerator(int key, TShiftState shift, TdxBarItemLink* start) const
{
    auto matches = [key, shift](TdxBarItemLink* link) {
        return link && link->Item() && link->Item()->IsAccelEnabled(link) && dxBarIsAccel(link->Caption(), key, shift);
    };
    if (qobject_cast<const TdxBar*>(Owner())) {
        const int n = FittingVisibleCount();
        TdxBarItemLink* link = start;
        for (int i = 0; i < n; ++i) {
            link = Next(link);
            if (!link) return nullptr;
            if (matches(link)) return link;
        }
        return nullptr;
    }
    const int n = CanVisibleItemCount();
    const int from = start ? int(canVisible_.indexOf(start)) : -1;
    for (int step = 1; step <= n; ++step) {
        TdxBarItemLink* link = canVisible_[(from + step) % n];
        if (matches(link)) return link;
    }
    return nullptr;
}
