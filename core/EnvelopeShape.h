// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>
#include <vector>

// The envelope outline as the chart draws it: vertex i joined to vertex i + 1,
// the last joined back to the first only when it repeats it. Coordinates are
// the single-precision values the program stores.
class EnvelopeShape
{
public:
    EnvelopeShape(std::vector<float> x, std::vector<float> y);

    int Vertices() const { return static_cast<int>(m_x.size()); }
    // At least two vertices, and the last repeats the first.
    bool Closed() const;
    int DistinctVertices() const;
    // Every vertex lies on one line (or there are fewer than three): the
    // outline encloses nothing.
    bool ZeroArea() const;
    // Two drawn edges that cross, touch or overlap without sharing an end
    // point: edge i runs from vertex i to vertex i + 1. False when none do.
    bool FindCrossing(int& first, int& second) const;
    // The point lies inside the outline or on it (even-odd rule). Only
    // meaningful for a closed outline.
    bool Contains(double x, double y) const;
    // The point lies on a drawn edge.
    bool OnOutline(double x, double y) const;
    // Where the straight way from (x0, y0) to (x1, y1) meets a drawn edge, as
    // fractions of the way from 0 to 1, ascending, without repeats; an edge
    // the way runs along gives both ends of their overlap.
    std::vector<double> Crossings(double x0, double y0, double x1, double y1) const;
    // The highest and the lowest y (weight) of any vertex; 0 without one.
    double HighestY() const;
    double LowestY() const;
    // Closed, with at least three distinct vertices that enclose an area, and
    // no two edges crossing: an outline a loading can be judged against.
    bool Usable() const;
    // The x ranges (moments) that the horizontal line at `y` (a weight) cuts
    // from the closed outline, edges included, in ascending order and merged;
    // a range may be a single point where the line only touches a vertex.
    std::vector<std::pair<double, double>> RangesAt(double y) const;

private:
    std::vector<float> m_x;
    std::vector<float> m_y;
};
