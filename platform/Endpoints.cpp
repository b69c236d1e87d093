#include <pelbrook/Endpoints.h>

namespace pelbrook {

namespace {
Endpoints &current()
{
    static Endpoints value;
    return value;
}
} // namespace

void setEndpoints(const Endpoints &endpoints)
{
    current() = endpoints;
}

Endpoints endpoints()
{
    return current();
}

} // namespace pelbrook
