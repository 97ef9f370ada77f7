# Sourced by the harness scripts: which Windows architectures this machine can run.
# kestrola_runnable_archs  every architecture whose programs can run here: x64, then x86
#                          where 32-bit programs start (KESTROLA_NO_X86=1 behaves as a
#                          machine without 32-bit support)
# kestrola_x86_skipped     why the x86 build cannot run here, or empty
kestrola_x86_skipped=
if [ -n "${KESTROLA_NO_X86:-}" ]; then
    kestrola_x86_skipped="KESTROLA_NO_X86 is set"
elif [ ! -x /usr/lib/wine/wine ]; then
    kestrola_x86_skipped="32-bit Wine (wine32:i386) is not installed"
elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    # Starting the 32-bit loader is the test: the kernel's configuration says nothing.
    kestrola_x86_skipped="this machine cannot run 32-bit programs"
fi
kestrola_runnable_archs=(x64)
if [ -z "$kestrola_x86_skipped" ]; then kestrola_runnable_archs+=(x86); fi
