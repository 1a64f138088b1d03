// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RuntimeModule.h"

#include <QtGlobal>

#include <cstring>
#include <dlfcn.h>
#include <utility>

namespace {
// Read in every case: no pending error is left behind.
std::string LoaderError()
{
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}
} // namespace

RuntimeModule::RuntimeModule(const char* fileName, std::initializer_list<const char*> entryNames,
                             Failures failures, Incomplete incomplete,
                             std::optional<Version> version)
    : m_fileName(fileName), m_names(entryNames), m_failures(failures), m_incomplete(incomplete),
      m_version(version), m_entries(m_names.size(), nullptr)
{
}

void RuntimeModule::Fail(std::string reason)
{
    m_error = std::move(reason);
    if (m_failures == Failures::Logged)
        qWarning("%s is not available: %s", m_fileName.c_str(), m_error.c_str());
}

void* RuntimeModule::Address(const char* name) const
{
    if (!m_complete)
        return nullptr;
    for (size_t i = 0; i < m_names.size(); ++i)
        if (std::strcmp(m_names[i], name) == 0)
            return m_entries[i];
    return nullptr;
}

bool RuntimeModule::VersionMatches()
{
    if (!m_version)
        return true;
    // The file's own name, as a user sees it in the folder.
    const char* slash = std::strrchr(m_fileName.c_str(), '/');
    const std::string file = slash ? slash + 1 : m_fileName;
    const std::string needs =
        std::string(m_version->user) + " needs " + std::to_string(m_version->expected);
    void* address = dlsym(m_library, m_version->entry.name);
    if (!address) {
        LoaderError();
        Fail(file + " reports no version, " + needs);
        return false;
    }
    const int version = As<ModuleVersionFunc>(address)();
    if (version == m_version->expected)
        return true;
    Fail(file + " is version " + std::to_string(version) + ", " + needs);
    return false;
}

bool RuntimeModule::Ready()
{
    if (m_library)
        return m_complete;
    m_refused = false;
    m_library = dlopen(m_fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        Fail(LoaderError());
        return false;
    }
    if (VersionMatches()) {
        m_complete = true;
        for (size_t i = 0; i < m_names.size(); ++i) {
            m_entries[i] = dlsym(m_library, m_names[i]);
            if (!m_entries[i])
                m_complete = false;
        }
        if (m_complete)
            return true;
        Fail(LoaderError());
        m_entries.assign(m_names.size(), nullptr);
    } else {
        m_refused = true;
    }
    if (m_incomplete == Incomplete::CloseAndRetry) {
        dlclose(m_library);
        m_library = nullptr;
    }
    return false;
}
