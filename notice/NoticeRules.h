#pragma once

#include <string>
#include <string_view>

namespace notice {

// What a notice's type, polarisation and intent mean. Codes compare exactly (upper case).

/// Analogue sound and television assignments.
bool isAnalogue(std::string_view type);
/// The digital-plan notices: assignments and allotments.
bool isDigital(std::string_view type);
/// Digital assignments, with a transmitter site.
bool isDigitalAssignment(std::string_view type);
/// Digital allotments: an area without a transmitter site.
bool isAllotment(std::string_view type);
/// A contour of an allotment, stored apart from the notices.
bool isContour(std::string_view type);
/// The type of a notice that names its station only through its target.
inline constexpr std::string_view kTargetType = "TB5";
bool carriesTarget(std::string_view type);
/// Whether a notice of this type carries antenna heights and patterns: every type but
/// allotments, the target type and contours (an unknown type too).
bool carriesAntenna(std::string_view type);
/// The station class of a sound or television type; "" for the others.
std::string_view stationClass(std::string_view type);

/// Whether the polarisation has a horizontal component: its power and its pattern.
bool carriesHorizontal(std::string_view polar);
/// Whether the polarisation has a vertical component: its power and its pattern.
bool carriesVertical(std::string_view polar);
/// Whether the polarisation has both components.
bool carriesBoth(std::string_view polar);
/// Whether the polarisation is one a notice names, not the unknown one.
bool isKnownPolarisation(std::string_view polar);

/// The two components of a polarisation, each with its own antenna pattern.
enum class Component { Horizontal, Vertical };
/// Whether a notice stores, reads and shows the pattern of the component: a directional
/// antenna ("D") whose polarisation has the component.
bool carriesPattern(std::string_view polar, std::string_view antDir, Component component);
/// Whether an update rewrites the stored pattern of the component: the notice's own pattern,
/// and both of an antenna that is not directional, which should have none.
bool rewritesPattern(std::string_view polar, std::string_view antDir, Component component);

/// Whether the intent brings or changes a station.
bool describesStation(std::string_view intent);
/// Whether the intent ends a station: the notice carries no station of its own.
bool endsStation(std::string_view intent);
/// Whether a notice of this intent has a target, the stored station it acts on: every intent
/// but an addition (an unknown one too).
bool hasTarget(std::string_view intent);
/// Whether the file of a digital assignment of this intent leaves out its frequency and site:
/// a suppression only (a withdrawal keeps them).
bool dropsPosition(std::string_view intent);

/// A conversion frequency as stored and written: a decimal comma becomes a point.
std::string convFrequency(std::string text);

}  // namespace notice
