// The one exception type a conversion raises: it carries the message shown to the user.
#pragma once

#include <stdexcept>

#include "engine/messages.hpp"

namespace oradel {

// A failure with a message for the user; what() is its English text.
class UserError : public std::runtime_error {
  public:
    explicit UserError(Message message)
        : std::runtime_error(message.Text(Language::English)), message_(std::move(message)) {}

    const Message& UserMessage() const { return message_; }

  private:
    Message message_;
};

// The text of any failure for a person who reads `language`: a UserError's
// message, or the text of another exception as it stands.
inline std::string FailureText(const std::exception& failure, Language language) {
    if (const auto* user = dynamic_cast<const UserError*>(&failure)) {
        return user->UserMessage().Text(language);
    }
    return failure.what();
}

}  // namespace oradel
