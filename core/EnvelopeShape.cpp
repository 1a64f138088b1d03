// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EnvelopeShape.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

struct Point
{
    double x;
    double y;
    bool operator==(const Point&) const = default;
};

// Twice the signed area of the triangle a, b, c. Taken in double, whose
// arithmetic is the same on every processor (long double is not), so that a
// catalogue gets the same findings everywhere: each +, -, * and / on doubles
// in this file is one IEEE 754 operation rounded to nearest, and
// -ffp-contract=off (CMakeLists.txt) keeps the compiler from fusing a product
// and a sum into a multiply-add, which some processors would round once
// instead of twice. No extended precision is involved.
double Cross(const Point& a, const Point& b, const Point& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

int Sign(double v)
{
    return (v > 0) - (v < 0);
}

// c lies on the segment a-b, given that the three are on one line.
bool Within(const Point& a, const Point& b, const Point& c)
{
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

bool Intersect(const Point& a, const Point& b, const Point& c, const Point& d)
{
    const int d1 = Sign(Cross(c, d, a));
    const int d2 = Sign(Cross(c, d, b));
    const int d3 = Sign(Cross(a, b, c));
    const int d4 = Sign(Cross(a, b, d));
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    return (d1 == 0 && Within(c, d, a)) || (d2 == 0 && Within(c, d, b)) ||
           (d3 == 0 && Within(a, b, c)) || (d4 == 0 && Within(a, b, d));
}

} // namespace

EnvelopeShape::EnvelopeShape(std::vector<float> x, std::vector<float> y)
    : m_x(std::move(x)), m_y(std::move(y))
{
    m_y.resize(m_x.size());
}

bool EnvelopeShape::Closed() const
{
    const size_t n = m_x.size();
    return n >= 2 && m_x[n - 1] == m_x[0] && m_y[n - 1] == m_y[0];
}

int EnvelopeShape::DistinctVertices() const
{
    std::vector<std::pair<float, float>> points;
    points.reserve(m_x.size());
    for (size_t i = 0; i < m_x.size(); ++i)
        points.emplace_back(m_x[i], m_y[i]);
    std::sort(points.begin(), points.end());
    return static_cast<int>(std::unique(points.begin(), points.end()) - points.begin());
}

bool EnvelopeShape::ZeroArea() const
{
    const size_t n = m_x.size();
    if (n < 3)
        return true;
    const Point origin{m_x[0], m_y[0]};
    size_t k = 1;
    while (k < n && Point{m_x[k], m_y[k]} == origin)
        ++k;
    if (k == n)
        return true;
    const Point towards{m_x[k], m_y[k]};
    const double length = std::hypot(towards.x - origin.x, towards.y - origin.y);
    for (size_t i = k + 1; i < n; ++i) {
        const Point p{m_x[i], m_y[i]};
        // Rounding must not make a line look like an area.
        const double scale = length * std::hypot(p.x - origin.x, p.y - origin.y);
        if (std::fabs(Cross(origin, towards, p)) > scale * 1e-12)
            return false;
    }
    return true;
}

bool EnvelopeShape::FindCrossing(int& first, int& second) const
{
    struct Edge
    {
        Point a;
        Point b;
        double left;
        double right;
        int index;
    };
    std::vector<Edge> edges;
    for (size_t i = 0; i + 1 < m_x.size(); ++i) {
        const Point a{m_x[i], m_y[i]};
        const Point b{m_x[i + 1], m_y[i + 1]};
        if (a == b)
            continue; // a repeated vertex draws nothing
        edges.push_back({a, b, std::min(a.x, b.x), std::max(a.x, b.x), static_cast<int>(i)});
    }
    // Sweep from left to right: only edges whose spans overlap are compared.
    std::sort(edges.begin(), edges.end(), [](const Edge& p, const Edge& q) {
        return p.left < q.left || (p.left == q.left && p.index < q.index);
    });
    bool found = false;
    for (size_t i = 0; i < edges.size(); ++i) {
        const Edge& e = edges[i];
        for (size_t j = i + 1; j < edges.size() && edges[j].left <= e.right; ++j) {
            const Edge& f = edges[j];
            if (e.a == f.a || e.a == f.b || e.b == f.a || e.b == f.b)
                continue;
            if (!Intersect(e.a, e.b, f.a, f.b))
                continue;
            const int lo = std::min(e.index, f.index);
            const int hi = std::max(e.index, f.index);
            // The first crossing in vertex order, whatever the sweep met first.
            if (!found || lo < first || (lo == first && hi < second)) {
                first = lo;
                second = hi;
                found = true;
            }
        }
    }
    return found;
}

bool EnvelopeShape::Contains(double x, double y) const
{
    const Point p{x, y};
    bool inside = false;
    const size_t n = m_x.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        const Point a{m_x[i], m_y[i]};
        const Point b{m_x[i + 1], m_y[i + 1]};
        if (Sign(Cross(a, b, p)) == 0 && Within(a, b, p))
            return true; // on the outline
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            inside = !inside;
    }
    return inside;
}

bool EnvelopeShape::OnOutline(double x, double y) const
{
    const Point p{x, y};
    for (size_t i = 0; i + 1 < m_x.size(); ++i) {
        const Point a{m_x[i], m_y[i]};
        const Point b{m_x[i + 1], m_y[i + 1]};
        if (Sign(Cross(a, b, p)) == 0 && Within(a, b, p))
            return true;
    }
    return false;
}

std::vector<double> EnvelopeShape::Crossings(double x0, double y0, double x1, double y1) const
{
    const Point p{x0, y0};
    const Point d{x1 - x0, y1 - y0};
    const double length2 = d.x * d.x + d.y * d.y;
    std::vector<double> at;
    auto keep = [&at](double t) {
        if (t >= 0 && t <= 1)
            at.push_back(t);
    };
    // Where a point of the way's line lies along it.
    auto along = [&](const Point& q) { return ((q.x - p.x) * d.x + (q.y - p.y) * d.y) / length2; };
    if (length2 == 0)
        return at;
    for (size_t i = 0; i + 1 < m_x.size(); ++i) {
        const Point a{m_x[i], m_y[i]};
        const Point b{m_x[i + 1], m_y[i + 1]};
        const Point e{b.x - a.x, b.y - a.y};
        const double denominator = d.x * e.y - d.y * e.x;
        const Point w{a.x - p.x, a.y - p.y};
        if (denominator != 0) {
            const double t = (w.x * e.y - w.y * e.x) / denominator;
            const double u = (w.x * d.y - w.y * d.x) / denominator;
            if (u >= 0 && u <= 1)
                keep(t);
        } else if (w.x * d.y - w.y * d.x == 0) {
            // Along the way's own line: the overlap's ends.
            const double ta = along(a);
            const double tb = along(b);
            const double low = std::max(0.0, std::min(ta, tb));
            const double high = std::min(1.0, std::max(ta, tb));
            if (low <= high) {
                at.push_back(low);
                at.push_back(high);
            }
        }
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}

double EnvelopeShape::HighestY() const
{
    return m_y.empty() ? 0 : *std::max_element(m_y.begin(), m_y.end());
}

double EnvelopeShape::LowestY() const
{
    return m_y.empty() ? 0 : *std::min_element(m_y.begin(), m_y.end());
}

bool EnvelopeShape::Usable() const
{
    int first = 0;
    int second = 0;
    return Closed() && DistinctVertices() >= 3 && !ZeroArea() && !FindCrossing(first, second);
}

std::vector<std::pair<double, double>> EnvelopeShape::RangesAt(double y) const
{
    std::vector<double> crossings;
    std::vector<std::pair<double, double>> ranges;
    for (size_t i = 0; i + 1 < m_x.size(); ++i) {
        const Point a{m_x[i], m_y[i]};
        const Point b{m_x[i + 1], m_y[i + 1]};
        if (a.y == y && b.y == y) {
            ranges.emplace_back(std::min(a.x, b.x), std::max(a.x, b.x));
            continue;
        }
        if (a.y == y)
            ranges.emplace_back(a.x, a.x);
        // Half-open in y, so that a vertex between two edges counts once.
        if ((a.y > y) != (b.y > y))
            crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2)
        ranges.emplace_back(crossings[i], crossings[i + 1]);
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<double, double>> merged;
    for (const auto& r : ranges) {
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    return merged;
}
