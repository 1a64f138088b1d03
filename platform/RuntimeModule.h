// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

// A shared library opened by file name on first use, through the dynamic
// loader's search (the executable's RUNPATH holds its own folder), with its
// entry points looked up all together. The help viewer and the print module
// are loaded this way; they differ only in the two policies below.
class RuntimeModule
{
public:
    enum class Failures
    {
        Silent, // say nothing, leave no pending loader error behind
        Logged  // a warning with the loader's reason
    };
    enum class Incomplete
    {
        KeepLoaded,   // a library lacking an entry point stays loaded and is never tried again
        CloseAndRetry // it is closed, and the next use tries again
    };

    RuntimeModule(const char* fileName, std::initializer_list<const char*> entryNames,
                  Failures failures, Incomplete incomplete);

    // Loads the library unless it is loaded already (a library that could not
    // be opened is tried again on every use). True when every entry point was
    // found; Entry(i) is then the i-th of the names given.
    bool Ready();
    void* Entry(int i) const { return m_entries[static_cast<size_t>(i)]; }
    // Why the last Ready() failed, as the dynamic loader says it.
    const char* Error() const { return m_error.c_str(); }

private:
    void Fail(const char* what);

    std::string m_fileName;
    std::vector<const char*> m_names;
    Failures m_failures;
    Incomplete m_incomplete;
    void* m_library = nullptr;
    std::vector<void*> m_entries;
    bool m_complete = false;
    std::string m_error;
};
