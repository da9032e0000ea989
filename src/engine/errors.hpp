// The one exception type a conversion raises: it carries the message shown to the user.
#pragma once

#include <new>
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

// The message of any failure: a UserError's own, "Not enough memory." for a
// failed allocation, and for another exception, a fault of the program
// itself, its text after "Internal error of the program:".
inline Message FailureMessage(const std::exception& failure) {
    if (const auto* user = dynamic_cast<const UserError*>(&failure)) return user->UserMessage();
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
        return Message(MessageId::NotEnoughMemory);
    }
    return Message(MessageId::ProgramFault, {failure.what()});
}

// The same for a person who reads `language`.
inline std::string FailureText(const std::exception& failure, Language language) {
    return FailureMessage(failure).Text(language);
}

}  // namespace oradel
