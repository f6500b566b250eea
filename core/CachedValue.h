// A named cached value of one type (bounding box, hull, ellipse, rotated rectangle).
#pragma once

#include <string>
#include <utility>

#include "core/CacheInterface.h"

template <typename T>
class CachedValue : public CacheInterface {
public:
    CachedValue(T initial, std::string entry_name) : value(std::move(initial)), name_(std::move(entry_name))
    {
    }

    std::string name() const override { return name_; }

    T value;

private:
    std::string name_;
};
