// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

// A per-aircraft array of single-precision values: absent until allocated,
// filled with 0 when allocated, released once.
class TFloatArray
{
public:
    void Allocate(int count)
    {
        m_values.assign(count > 0 ? static_cast<size_t>(count) : 0, 0.0f);
        m_allocated = true;
    }
    void Release()
    {
        m_values = {};
        m_allocated = false;
    }
    bool IsAllocated() const { return m_allocated; }
    int Size() const { return static_cast<int>(m_values.size()); }
    float& operator[](int i) { return m_values.at(static_cast<size_t>(i)); }
    float operator[](int i) const { return m_values.at(static_cast<size_t>(i)); }

private:
    std::vector<float> m_values;
    bool m_allocated = false;
};
