// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RuntimeModule.h"

#include <QtGlobal>

#include <dlfcn.h>

RuntimeModule::RuntimeModule(const char* fileName, std::initializer_list<const char*> entryNames,
                             Failures failures, Incomplete incomplete)
    : m_fileName(fileName), m_names(entryNames), m_failures(failures), m_incomplete(incomplete),
      m_entries(m_names.size(), nullptr)
{
}

void RuntimeModule::Fail(const char* what)
{
    const char* reason = dlerror(); // read in every case: no pending error is left behind
    m_error = reason ? reason : "unknown reason";
    if (m_failures == Failures::Logged)
        qWarning("%s is not available: %s", what, m_error.c_str());
}

bool RuntimeModule::Ready()
{
    if (m_library)
        return m_complete;
    m_library = dlopen(m_fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        Fail(m_fileName.c_str());
        return false;
    }
    m_complete = true;
    for (size_t i = 0; i < m_names.size(); ++i) {
        m_entries[i] = dlsym(m_library, m_names[i]);
        if (!m_entries[i])
            m_complete = false;
    }
    if (m_complete)
        return true;
    Fail(m_fileName.c_str());
    if (m_incomplete == Incomplete::CloseAndRetry) {
        dlclose(m_library);
        m_library = nullptr;
        m_entries.assign(m_names.size(), nullptr);
    }
    return false;
}
