// Labels paint again and again (each WM_PAINT makes the label's font) without leaking GDI
// objects. GetGuiResources answers 0 under Wine, so the count is also taken from the GDI handle
// table that Wine shares with the process; fixtures that leak on purpose show the count sees it.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <vector>

#include "support.h"

namespace {

// One slot of Wine's GDI handle table (the layout of GDI_HANDLE_ENTRY in Wine 8): 0x10000 slots,
// a slot in use has a non-zero type. The table belongs to this process alone.
struct WineGdiSlot {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(WineGdiSlot) == 24);
constexpr std::size_t kWineGdiSlots = 0x10000;

const WineGdiSlot* wineGdiTable()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return nullptr;
    using GetPeb = void*(WINAPI*)();
    auto getPeb = reinterpret_cast<GetPeb>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetCurrentPeb")));
    if (!getPeb)
        return nullptr;
    // PEB.GdiSharedHandleTable
    const auto* peb = static_cast<const BYTE*>(getPeb());
    const std::size_t offset = sizeof(void*) == 4 ? 0x94 : 0xF8;
    return *reinterpret_cast<const WineGdiSlot* const*>(peb + offset);
}

// The process's GDI objects, or -1 when there is no way to count them here.
long gdiObjectCount()
{
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<long>(n);  // real Windows
    const WineGdiSlot* table = wineGdiTable();
    if (!table)
        return -1;
    long n = 0;
    for (std::size_t i = 0; i < kWineGdiSlots; ++i)
        n += table[i].type != 0;
    return n;
}

// Paints `window` now, whatever was valid.
void paintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(GdiObjectCount, SeesFontsLeakedOnPurposeAndTheirRelease)
{
    const long before = gdiObjectCount();
    ASSERT_GT(before, 0) << "no way to count GDI objects in this process";
    std::vector<HFONT> leaked;
    for (int i = 0; i < 37; ++i)
        leaked.push_back(CreateFontW(-10 - i, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    EXPECT_EQ(gdiObjectCount() - before, 37);
    for (HFONT f : leaked)
        DeleteObject(f);
    EXPECT_EQ(gdiObjectCount(), before);
}

// A window that paints as a label does but forgets to delete the font it makes.
LRESULT CALLBACK leakingPaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HFONT font = CreateFontW(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0, L"黑体");
        HGDIOBJ previous = SelectObject(dc, font);
        RECT r;
        GetClientRect(window, &r);
        DrawTextW(dc, L"F10(点击)", -1, &r, DT_SINGLELINE | DT_VCENTER);
        SelectObject(dc, previous);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(GdiObjectCount, SeesAPaintThatLeaksAFontEachTime)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = leakingPaintProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavriloTestLeakingPaint";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 120, 40,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    paintNow(window);
    const long before = gdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 200; ++i)
        paintNow(window);
    EXPECT_EQ(gdiObjectCount() - before, 200);
    DestroyWindow(window);
}

// Counts the WM_PAINTs that reach the labels, so the loop below provably paints them.
std::map<HWND, std::pair<WNDPROC, int>> labelPaints;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& [original, paints] = labelPaints[window];
    if (message == WM_PAINT)
        ++paints;
    return CallWindowProcW(original, window, message, wParam, lParam);
}

TEST(LabelPainting, AThousandPaintsOfEveryLabelLeaveTheGdiObjectCountAsItWas)
{
    LoadedMainWindow loaded;
    ASSERT_TRUE(loaded.loaded());
    const EventSource labels[] = {EventSource::标签7, EventSource::标签6, EventSource::标签5, EventSource::标签2,
                                  EventSource::标签4, EventSource::标签3, EventSource::标签1};
    labelPaints.clear();
    for (EventSource name : labels) {
        HWND label = loaded.control(name);
        ASSERT_TRUE(IsWindowVisible(label));
        labelPaints[label].first =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingProc)));
    }
    // Once first, so whatever Windows keeps after a first paint (cached DCs, realised fonts) is there.
    for (EventSource name : labels)
        paintNow(loaded.control(name));
    pumpWaitingMessages();
    const long before = gdiObjectCount();
    ASSERT_GT(before, 0);
    for (auto& [label, entry] : labelPaints)
        entry.second = 0;

    for (int round = 0; round < 1000; ++round)
        for (EventSource name : labels)
            paintNow(loaded.control(name));

    for (EventSource name : labels) {
        SCOPED_TRACE(testing::Message() << "label " << static_cast<int>(name));
        EXPECT_EQ(labelPaints[loaded.control(name)].second, 1000);
    }
    EXPECT_LE(gdiObjectCount(), before);
    for (auto& [label, entry] : labelPaints)
        SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.first));
}

}  // namespace
