#include "core/SpoolerLibrary.h"

#include "core/SystemLibrary.h"

#include <memory>
#include <new>

namespace {

template <class Proc>
bool Bind(HMODULE library, const char* name, Proc& proc)
{
    // Entry points travel as FARPROC; the detour through void (*)() keeps the cast
    // between function types explicit.
    const FARPROC entry = GetProcAddress(library, name);
    proc = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(entry));
    return entry != nullptr;
}

// Fills every entry from library; false when library is null or lacks one of them.
bool BindSpooler(HMODULE library, SpoolerLibrary& spooler)
{
    if (library == nullptr)
        return false;
    bool bound = Bind(library, "GetDefaultPrinterW", spooler.getDefaultPrinter);
    bound = Bind(library, "EnumPrintersW", spooler.enumPrinters) && bound;
    bound = Bind(library, "OpenPrinterW", spooler.openPrinter) && bound;
    bound = Bind(library, "GetPrinterW", spooler.getPrinter) && bound;
    bound = Bind(library, "GetPrinterDriverW", spooler.getPrinterDriver) && bound;
    bound = Bind(library, "StartDocPrinterW", spooler.startDocPrinter) && bound;
    bound = Bind(library, "StartPagePrinter", spooler.startPagePrinter) && bound;
    bound = Bind(library, "WritePrinter", spooler.writePrinter) && bound;
    bound = Bind(library, "EndPagePrinter", spooler.endPagePrinter) && bound;
    bound = Bind(library, "EndDocPrinter", spooler.endDocPrinter) && bound;
    bound = Bind(library, "AbortPrinter", spooler.abortPrinter) && bound;
    return Bind(library, "ClosePrinter", spooler.closePrinter) && bound;
}

BOOL CALLBACK BindOnce(INIT_ONCE*, void*, void** spooler)
{
    static SpoolerLibrary entries = {};
    *spooler = BindSpooler(LoadSystemLibrary(L"winspool.drv"), entries) ? &entries : nullptr;
    return TRUE;
}

}  // namespace

const SpoolerLibrary* Spooler()
{
    // Bound once, whichever thread asks first (the wizard's print worker may); the
    // library stays loaded until the process ends. The system's one-time initialisation,
    // not a guarded static: the runtime's guard starts its thread library, which costs
    // every automatic job a few calls into the system.
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    void* spooler = nullptr;
    InitOnceExecuteOnce(&once, BindOnce, nullptr, &spooler);
    return static_cast<const SpoolerLibrary*>(spooler);
}

bool FetchSpoolerInfo(const SpoolerQuery& query, DWORD least,
                      const std::function<void(const BYTE* info)>& read)
{
    DWORD needed = 0;
    query(nullptr, 0, &needed);
    if (needed < least || needed > 1024 * 1024)  // no answer, or no sane one
        return false;
    // A printer's or driver's names and lists usually fit on the stack; a longer answer is
    // fetched into the heap.
    alignas(8) BYTE local[2048];
    std::unique_ptr<BYTE[]> large;
    BYTE* info = local;
    if (needed > sizeof(local)) {
        large.reset(new (std::nothrow) BYTE[needed]);
        if (!large)
            return false;
        info = large.get();
    }
    if (!query(info, needed, &needed))
        return false;
    read(info);
    return true;
}
