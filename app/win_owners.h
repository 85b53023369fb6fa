// Small move-only owners for Windows handles and COM pointers: each frees what it holds
// exactly once.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <utility>

template <typename Handle, auto Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.h_, Handle{}));
        return *this;
    }
    ~Owned() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Handle{}; }
    Handle release() { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{})
    {
        if (Handle old = std::exchange(h_, h); old != Handle{})
            Free(old);
    }

private:
    Handle h_{};
};

using OwnedFont = Owned<HFONT, DeleteObject>;
using OwnedBrush = Owned<HBRUSH, DeleteObject>;

// Selects a GDI object into a DC and puts the previous one back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), previous_(SelectObject(dc, obj)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint ... EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &ps_); }
    HDC dc() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// A window DC (GetDC or GetWindowDC) given back with ReleaseDC.
class WindowDC {
public:
    enum Kind { Client, Whole };
    explicit WindowDC(HWND window, Kind kind = Client)
        : window_(window), dc_(kind == Client ? GetDC(window) : GetWindowDC(window))
    {
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// OLE for this thread, for as long as the object lives.
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}  // a failure is not reported
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession()
    {
        if (initialised_)
            OleUninitialize();
    }

private:
    bool initialised_;
};
