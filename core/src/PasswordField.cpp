#include "rq540/PasswordField.h"

#include <algorithm>

namespace RQ540 {

PasswordBuffer PasswordField(std::string_view text, uint32_t length)
{
    PasswordBuffer field{};
    const std::size_t count = std::min({text.size(), std::size_t{length}, field.size()});
    std::copy_n(text.begin(), count, field.begin());
    return field;
}

}  // namespace RQ540
