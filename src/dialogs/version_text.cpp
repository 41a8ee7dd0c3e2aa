#include "dialogs/version_text.h"

namespace valdrex {
namespace {

constexpr char kComments[] = "A very easy way to solve algebraic equations";
constexpr char kLegalNotice[] = "Copyright (C) 2026 The Valdrex developers";
constexpr char kLineEnd[] = "\r\n";

} // namespace

std::string VersionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) +
           std::to_string(revision) + " for Win-32 systems";
}

std::string CommentText() {
    return std::string(kComments) + kLineEnd + kLineEnd + "Realized by " + kLineEnd + kLegalNotice;
}

std::string ProgramVersionText() {
    return VersionText(VALDREX_VERSION_MAJOR, VALDREX_VERSION_MINOR, VALDREX_VERSION_PATCH);
}

} // namespace valdrex
