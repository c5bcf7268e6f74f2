// File: platform/uikit/UIPasteboard.h
//
// The general pasteboard's text.
//
//   ios::UIPasteboard::general().setString("copied");
//   ios::UIPasteboard::general().string();  // "copied"
//
// Fidelity: an in-process pasteboard holding one optional text (Linux has no system
// pasteboard service here); other item types and named pasteboards are absent.
#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace ios {

class UIPasteboard {
 public:
  // The general pasteboard.
  [[nodiscard]] static UIPasteboard& general();

  [[nodiscard]] std::optional<std::string> string() const;
  void setString(std::optional<std::string> text);

 private:
  UIPasteboard() = default;
  mutable std::mutex mutex_;
  std::optional<std::string> string_;
};

namespace testing {
// Empties the general pasteboard.
void resetPasteboard();
}  // namespace testing

}  // namespace ios
