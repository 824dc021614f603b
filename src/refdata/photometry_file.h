// Photometric files: IES LM-63 (1986/1991, 1995, 2002, 2019) and EULUMDAT (.ldt), type C only,
// read into a Photometry with the file's symmetry unfolded; and LM-63-2002 written from one.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "refdata/photometry.h"

// Reads a file: EULUMDAT when its name ends in .ldt (any letter case), else IES. None with
// `error` as "FILE:LINE: reason" when the file cannot be used.
std::optional<Photometry> ReadPhotometryFile(const std::string& path, std::string& error);
// The same from text; `name` is the file name the messages give.
std::optional<Photometry> ParseIes(std::string_view text, const std::string& name,
                                   std::string& error);
std::optional<Photometry> ParseLdt(std::string_view text, const std::string& name,
                                   std::string& error);

// LM-63-2002 text of the whole grid: candela multiplier lamp lumens / 1000, so the values are the
// grid's cd/klm; the first plane is repeated at 360 degrees.
std::string WriteIes(const Photometry& p);

// cd/klm at (C, gamma) in degrees, linear in gamma and between the neighbouring planes (the last
// plane wraps round to the first); 0 beyond the last polar angle.
double PhotometryIntensity(const Photometry& p, double c, double gamma);

// A plane at 0, 5, ... 90 degrees: the rows of a catalogue curve table.
inline constexpr int kCurveRows = 19;
std::array<double, kCurveRows> CurvePlane(const Photometry& p, double c);

// The grid of a catalogue curve: plane A is C0 and C180, plane B is C90 and C270 (one plane when
// they are equal), polar angles 0..90 in steps of 5, per 1000 lamp lumens of one lamp.
Photometry PhotometryFromCurve(const std::array<double, kCurveRows>& a,
                               const std::array<double, kCurveRows>& b);

// Flux above the horizontal per lamp lumen (the upward light output ratio).
double UpwardLor(const Photometry& p);

// Largest spacing-to-height ratio at which the illuminance midway between two luminaires is
// still 70 % of that beneath one (both luminaires counted), the smaller of planes C0 and C90,
// to a tenth rounded down.
double MaxSpacingToHeight(const Photometry& p);
