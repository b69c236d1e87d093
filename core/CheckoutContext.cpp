#include "core/CheckoutContext.h"

namespace pelbrook {

CheckoutContext &CheckoutContext::shared()
{
    static CheckoutContext context;
    return context;
}

} // namespace pelbrook
