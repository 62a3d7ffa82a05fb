#include "app/HandlerWriteWatch.h"

#include "storage/WriteFailures.h"

HandlerWriteWatch::Scope::Scope(HandlerWriteWatch& watch) : watch_(watch)
{
    if (watch_.depth_++ == 0) watch_.failuresAtEntry_ = storage::ThreadWriteFailures();
}

HandlerWriteWatch::Scope::~Scope() { --watch_.depth_; }

bool HandlerWriteWatch::WriteFailed() const
{
    return depth_ > 0 && storage::ThreadWriteFailures() != failuresAtEntry_;
}
