// The one exception type a conversion raises: it carries the text shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace oradel {

// A failure with a message for the user, in UTF-8.
class UserError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace oradel
