#pragma once

#include <mutex>

#include <exiv2/exiv2.hpp>

// exiv2 keeps global state (its log level and handler, the XMP toolkit): one reader at a time.
// The lock also mutes the library's log, whose warnings about odd files would reach stderr once
// per file of a batch.
class Exiv2Lock
{
public:
    Exiv2Lock() : m_lock(mutex())
    {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(nullptr);
    }

private:
    static std::mutex &mutex()
    {
        static std::mutex m;
        return m;
    }

    std::lock_guard<std::mutex> m_lock;
};
