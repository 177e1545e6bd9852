#pragma once
// The maker's home page, which the About and Donations pages link to.
namespace velmora::config {
inline constexpr char kMakerHomePage[] = "http://www.kestrune.example/";
}  // namespace velmora::config
