// Lets an element report a failure about its file once while the path stays the same,
// however many frames fail; after another path it may be reported again. Not locked: it
// belongs to the one thread (or lock) that makes the element's frames.
#pragma once

#include <string>
#include <utility>

class OncePerPath {
public:
    // Called with the path of every frame.
    void Use(const std::string& path)
    {
        if (path == path_)
            return;
        path_ = path;
        reported_ = false;
    }

    // Whether a failure of the current path is the first to be reported.
    bool First() { return !std::exchange(reported_, true); }

private:
    std::string path_;
    bool reported_ = false;
};
