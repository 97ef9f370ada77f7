#pragma once
// Move-only owners for Win32 handles: each closes its handle exactly once.

#include "core/SpoolerLibrary.h"

#include <windows.h>

template <class T, class Close, T Null = T()>
class Owned {
public:
    Owned() : h_(Null) {}
    explicit Owned(T h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(Owned&& o) noexcept : h_(o.release()) {}
    Owned& operator=(Owned&& o) noexcept
    {
        reset(o.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T get() const { return h_; }
    bool valid() const { return h_ != Null; }
    T release()
    {
        T t = h_;
        h_ = Null;
        return t;
    }
    void reset(T h = Null)
    {
        if (h_ != Null)
            Close()(h_);
        h_ = h;
    }

private:
    T h_;
};

struct CloseKernelHandle { void operator()(HANDLE h) const { CloseHandle(h); } };
struct CloseRegKey { void operator()(HKEY h) const { RegCloseKey(h); } };
// A printer handle comes from the spooler's library, which is bound by then.
struct ClosePrinterHandle { void operator()(HANDLE h) const { Spooler()->closePrinter(h); } };
struct DeleteGdiObject { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DeleteMemoryDC { void operator()(HDC h) const { DeleteDC(h); } };

// CreateFileA reports failure with INVALID_HANDLE_VALUE, not null.
struct OwnedFile {
    explicit OwnedFile(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~OwnedFile() { reset(); }
    OwnedFile(OwnedFile&& o) noexcept : h_(o.h_) { o.h_ = INVALID_HANDLE_VALUE; }
    OwnedFile& operator=(OwnedFile&& o) noexcept
    {
        reset(o.h_);
        o.h_ = INVALID_HANDLE_VALUE;
        return *this;
    }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h = INVALID_HANDLE_VALUE)
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

using OwnedHandle = Owned<HANDLE, CloseKernelHandle>;
using OwnedKey = Owned<HKEY, CloseRegKey>;
using OwnedGdiObject = Owned<HGDIOBJ, DeleteGdiObject>;
using OwnedMemoryDC = Owned<HDC, DeleteMemoryDC>;
