#pragma once

#include "files/IndexFile.h"
#include "map/Radial.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The area or country at a point and along a radial, from the allotment or local list of the
// current map and from the map's countries.
namespace geo {

/// GEOALL1: the allotment list's first table entry with the 6-character symbol: its country,
/// its area id (lineId) and the area's index (from 1); no country and 0 when no entry has it.
/// An area id no listed area has ends the process.
AreaLookup GEOALL1(std::string_view symbol);
/// GEOALL2: the same over the loaded allotment index.
AreaLookup GEOALL2(std::string_view symbol);

// An area list with a symbol table: the allotments (6-character symbols) or the local areas (12).
enum class SymbolList { Allotments, Local };

/// The symbol at a point of the areas `tried` accepts (index from 1), in map order: an area
/// holding the point whose table entry is any-country ('*') or of the country there; else the
/// country code and "???", or blanks where no country is.
std::string areaSymbolAt(SymbolList list, Point p, const std::function<bool(std::int32_t area)>& tried);
/// GEOIAA2, LCLILA2: the symbol at the point over every area of the list as last built; the
/// marks of the last radial are not read.
std::string symbolAtPoint(SymbolList list, Point p);
/// GEOIAA, LCLILA: the list built around the point first.
std::string symbolAtPointWithMap(SymbolList list, Point p);

/// GEOAAC3, LCLAAC3 (`only` empty), GEOAAC9, LCLAAC9 (`only` the one area's symbol): the
/// areas along a radial, stretch by stretch, neighbours with equal symbols merged. Symbols
/// go to `symbols`, one a stretch.
void areasAlongRadial(SymbolList list, const std::string* only, Point start, float distKm, float azimuthDeg,
                      Stretches& s, std::vector<std::string>& symbols);
/// GEOALC3: the countries of the current map along a radial (mode 1: "+++" for any country),
/// stretch by stretch, never merged.
void countriesAlongRadial(Point start, float distKm, float azimuthDeg, std::int32_t mode, Stretches& s,
                          std::vector<std::string>& codes);

}  // namespace geo
