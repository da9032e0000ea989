// A stand-alone set of option values, used where no window answers: the
// command line and the tests. Starts in the first-start state.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "engine/options.hpp"

namespace oradel {

class OptionSet final : public OptionSource {
  public:
    OptionSet();

    bool IsChecked(std::string_view checkBox) const override;
    std::string EditText(std::string_view editField) const override;

    // Both throw std::invalid_argument for a name that is not a control of that kind.
    void SetChecked(std::string_view checkBox, bool ticked);
    void SetEditText(std::string_view editField, std::string ansiText);

  private:
    std::map<std::string, bool, std::less<>> ticked_;
    std::map<std::string, std::string, std::less<>> texts_;
};

}  // namespace oradel
