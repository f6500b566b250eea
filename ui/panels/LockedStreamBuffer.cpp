#include "ui/panels/LockedStreamBuffer.h"

void LockedStreamBuffer::Collect()
{
    std::lock_guard<std::mutex> lock(mutex_);
    forward_ = nullptr;
}

void LockedStreamBuffer::ForwardTo(std::streambuf* target)
{
    std::lock_guard<std::mutex> lock(mutex_);
    forward_ = target;
    if (forward_ != nullptr && !text_.empty()) {
        forward_->sputn(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }
}

std::string LockedStreamBuffer::Take()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::string taken;
    if (text_ != " ")
        taken.swap(text_);
    return taken;
}

LockedStreamBuffer::int_type LockedStreamBuffer::overflow(int_type character)
{
    if (traits_type::eq_int_type(character, traits_type::eof()))
        return traits_type::not_eof(character);
    const char text = traits_type::to_char_type(character);
    std::lock_guard<std::mutex> lock(mutex_);
    Write(&text, 1);
    return character;
}

std::streamsize LockedStreamBuffer::xsputn(const char* text, std::streamsize count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Write(text, count);
    return count;
}

int LockedStreamBuffer::sync()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return forward_ != nullptr ? forward_->pubsync() : 0;
}

void LockedStreamBuffer::Write(const char* text, std::streamsize count)
{
    if (forward_ != nullptr)
        forward_->sputn(text, count);
    else
        text_.append(text, static_cast<std::size_t>(count));
}
