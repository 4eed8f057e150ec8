#include "engine/obstacle_index.h"

namespace velo {

ContactIndexHolder::ContactIndexHolder() = default;
ContactIndexHolder::~ContactIndexHolder() = default;
ContactIndexHolder::ContactIndexHolder(const ContactIndexHolder&) {}
ContactIndexHolder& ContactIndexHolder::operator=(const ContactIndexHolder& other) {
    if (this != &other) Index.reset();
    return *this;
}
ContactIndexHolder::ContactIndexHolder(ContactIndexHolder&&) noexcept = default;
ContactIndexHolder& ContactIndexHolder::operator=(ContactIndexHolder&&) noexcept = default;

}  // namespace velo
