#pragma once

// The program's version record. Header-only and free of Qt so that any layer can read it.
#define ZAV_VERSION "1.4.0.0"

namespace zav::version {

inline constexpr const char* kFileVersion = ZAV_VERSION;
inline constexpr const char* kProductVersion = ZAV_VERSION;
inline constexpr const char* kFileDescription = "Application Zav7305";
inline constexpr const char* kFileVersionText = "1, 4, 0, 0";
inline constexpr const char* kInternalName = "Zav7305";
inline constexpr const char* kOriginalFilename = "Zav7305.EXE";
inline constexpr const char* kProductName = "Application Zav7305";
inline constexpr const char* kProductVersionText = "1, 4, 0, 0";
inline constexpr const char* kLanguage = "fr";
inline constexpr const char* kApplicationId = "org.zav7305.Zav7305";

}  // namespace zav::version
