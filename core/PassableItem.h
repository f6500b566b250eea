// One payload carried from an output pad to an input pad. Copies share the
// payload (no pixel copies on the hot path); DeepCopy gives a branch its own.
#pragma once

#include <cstdint>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

template <typename T>
class PassableItem {
public:
    PassableItem() = default;
    explicit PassableItem(boost::shared_ptr<T> payload) : data(std::move(payload)) {}
    PassableItem(const PassableItem&) = default;
    PassableItem& operator=(const PassableItem&) = default;
    PassableItem(PassableItem&&) = default;
    PassableItem& operator=(PassableItem&&) = default;
    virtual ~PassableItem() = default;

    // An invalid item means "no data this time".
    bool IsValid() const { return data != nullptr; }

    // A new item owning a copy of the payload made by T's copy constructor
    // (a deep copy for VideoFrame); the small fields start at zero. An
    // invalid item copies to an invalid item rather than dereferencing null.
    PassableItem DeepCopy() const
    {
        if (!data)
            return PassableItem();
        return PassableItem(boost::make_shared<T>(*data));
    }

    // Carried along with every copy; nothing in the system sets them yet.
    std::int32_t tag = 0;
    std::int64_t sequence = 0;
    std::uint8_t flags = 0;
    boost::shared_ptr<T> data;
};
