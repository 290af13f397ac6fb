// Sets of the indices 0 to n-1 joined one pair at a time (union-find), for grouping the
// triangles of a mesh that share edges.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Each set is named by its smallest index once joined; find halves the paths it walks.
class DisjointSets {
public:
    explicit DisjointSets(std::size_t count) : root_(count)
    {
        for (std::size_t i = 0; i < count; ++i)
            root_[i] = i;
    }

    std::size_t find(std::size_t i)
    {
        while (root_[i] != i)
            i = root_[i] = root_[root_[i]];
        return i;
    }

    void join(std::size_t a, std::size_t b)
    {
        a = find(a);
        b = find(b);
        root_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::size_t> root_;
};
