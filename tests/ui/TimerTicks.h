#pragma once
// Counts the timeouts of the timers under a widget, so a test waits for the refreshes it
// means instead of sleeping for about as long; and a reference beat, to wait a number of
// a timer's intervals on the event loop itself. GUI thread only.

#include "WindowTestSupport.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>
#include <vector>

namespace windowtest {

class TimerTicks {
public:
    explicit TimerTicks(QObject* root)
    {
        for (QTimer* timer : root->findChildren<QTimer*>()) {
            auto watched = std::make_unique<Watched>();
            watched->timer = timer;
            Watched* counter = watched.get();
            watched->connection = QObject::connect(timer, &QTimer::timeout, [counter] { ++counter->ticks; });
            watched_.push_back(std::move(watched));
        }
    }
    ~TimerTicks()
    {
        for (const auto& watched : watched_)
            QObject::disconnect(watched->connection);
    }
    TimerTicks(const TimerTicks&) = delete;
    TimerTicks& operator=(const TimerTicks&) = delete;

    // Runs the event loop until every timer still running has fired at least this often.
    bool WaitForEachRunning(int ticks)
    {
        return WaitForGui([&] {
            for (const auto& watched : watched_)
                if (watched->timer && watched->timer->isActive() && watched->ticks < ticks)
                    return false;
            return true;
        });
    }

    int Total() const
    {
        int total = 0;
        for (const auto& watched : watched_)
            total += watched->ticks;
        return total;
    }

private:
    struct Watched {
        QPointer<QTimer> timer;
        int ticks = 0;
        QMetaObject::Connection connection;
    };
    std::vector<std::unique_ptr<Watched>> watched_;
};

// Runs the event loop for this many intervals of a timer started now: any timer of that
// interval already running fires at least ticks - 1 times meanwhile, however slow the run.
inline bool WaitIntervals(std::chrono::milliseconds interval, int ticks)
{
    QTimer beat;
    int beats = 0;
    QObject::connect(&beat, &QTimer::timeout, [&beats] { ++beats; });
    beat.start(interval);
    return WaitForGui([&] { return beats >= ticks; });
}

}  // namespace windowtest
