#pragma once
#include <cstdint>
#include <string>

namespace tarvesk {

// The About window's title: "About Tarvesk - Version " and the major, minor and revision
// numbers in plain decimal, separated by points ("About Tarvesk - Version 1.0.13").
std::string AboutTitle(std::uint16_t major, std::uint16_t minor, std::uint16_t revision);

}  // namespace tarvesk
