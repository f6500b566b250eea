#include "ui/panels/StandardStreamCapture.h"

#include <iostream>

StandardStreamCapture& StandardStreamCapture::Instance()
{
    // Intentionally leaked: threads may print while static objects are destroyed.
    static StandardStreamCapture* capture = new StandardStreamCapture;
    return *capture;
}

std::array<std::ostream*, StandardStreamCapture::kStreamCount> StandardStreamCapture::Streams()
{
    return {&std::cerr, &std::cout, &std::clog};
}

void StandardStreamCapture::Hold()
{
    const auto streams = Streams();
    for (std::size_t i = 0; i < kStreamCount; ++i) {
        buffers_[i].Collect();
        // Someone may have replaced the buffer since the last view let go.
        if (streams[i]->rdbuf() != &buffers_[i])
            originals_[i] = streams[i]->rdbuf(&buffers_[i]);
    }
    ++holders_;
}

void StandardStreamCapture::Release()
{
    if (holders_ == 0 || --holders_ > 0)
        return;
    // The buffers stay installed: swapping a stream's buffer back would race with
    // threads that are printing right now.
    for (std::size_t i = 0; i < kStreamCount; ++i)
        buffers_[i].ForwardTo(originals_[i]);
}

std::string StandardStreamCapture::Take(std::size_t stream)
{
    return buffers_[stream].Take();
}
