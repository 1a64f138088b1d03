// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// An entry point of a module: the name it is exported under and the type it
// is called through, written once in the header that the module and its
// loader share.
template <typename Fn> struct ModuleEntry
{
    static_assert(std::is_pointer_v<Fn> && std::is_function_v<std::remove_pointer_t<Fn>>);
    using Function = Fn;
    const char* name;
};

// A versioned module exports one function of this type, which never changes:
// the version the module was built as.
using ModuleVersionFunc = int (*)();

// A fingerprint of the sizes and alignments of the structures passed to a
// module (FNV-1a). A module's header compares it with the value recorded for
// its version, so that a changed structure stops the build until the version
// is raised.
template <typename... Passed> constexpr std::uint64_t ModuleLayout()
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const std::size_t v : {std::size_t{0}, sizeof(Passed)..., alignof(Passed)...}) {
        hash ^= v;
        hash *= 1099511628211ULL;
    }
    return hash;
}

// A shared library opened by file name on first use, through the dynamic
// loader's search (the executable's RUNPATH holds its own folder), with its
// entry points looked up all together. The help viewer, the print module and
// trx-sheet's PDF module are loaded this way; they differ in the policies
// below and in whether the module must report a version.
class RuntimeModule
{
public:
    enum class Failures
    {
        Silent, // say nothing, leave no pending loader error behind
        Logged  // a warning with the reason
    };
    enum class Incomplete
    {
        KeepLoaded,   // a library lacking an entry point stays loaded and is never tried again
        CloseAndRetry // it is closed, and the next use tries again
    };
    // The version a module must report before any of its entry points is
    // looked up; `user` names who needs it in the refusal ("trx-sheet").
    struct Version
    {
        ModuleEntry<ModuleVersionFunc> entry;
        int expected;
        const char* user;
    };

    RuntimeModule(const char* fileName, std::initializer_list<const char*> entryNames,
                  Failures failures, Incomplete incomplete,
                  std::optional<Version> version = std::nullopt);

    // Loads the library unless it is loaded already (a library that could not
    // be opened is tried again on every use). True when the library reports
    // the version asked for and every entry point was found. A library of
    // another version is refused as one lacking an entry point is: none of
    // its entry points is looked up, so none can be called.
    bool Ready();
    // The entry point, typed as the module's header declares it; null unless
    // Ready() and it is one of the names given.
    template <typename Fn> Fn Resolve(ModuleEntry<Fn> entry) const
    {
        return As<Fn>(Address(entry.name));
    }
    // Why the last Ready() failed: as the dynamic loader says it, or the
    // version refused ("libtrxsheetpdf.so is version 2, trx-sheet needs 1").
    const char* Error() const { return m_error.c_str(); }
    // True when the last Ready() refused the library for its version.
    bool Refused() const { return m_refused; }

private:
    // The loader hands out functions as object pointers (POSIX dlsym).
    template <typename Fn> static Fn As(void* address) { return reinterpret_cast<Fn>(address); }
    void* Address(const char* name) const;
    bool VersionMatches();
    void Fail(std::string reason);

    std::string m_fileName;
    std::vector<const char*> m_names;
    Failures m_failures;
    Incomplete m_incomplete;
    std::optional<Version> m_version;
    void* m_library = nullptr;
    std::vector<void*> m_entries;
    bool m_complete = false;
    bool m_refused = false;
    std::string m_error;
};
