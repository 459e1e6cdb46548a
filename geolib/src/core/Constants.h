#pragma once

// The library's 4-byte constants, used exactly as these values. Arithmetic is done in double;
// a constant is widened from its float value, never retyped as a decimal double.
namespace geo {

// The sphere
inline constexpr float kEarthRadiusKm = 6373.0f;
inline constexpr float kPi = 3.141593f;
inline constexpr float kTwoPi = 6.283186f;
inline constexpr float kHalfPi = 1.5707965f;
inline constexpr float kQuarterPi = 0.78539824f;

// Angle units
inline constexpr float kDegreesPerRadian = 57.295773f;
inline constexpr float kRadPerDegree = 0.017453294f;
inline constexpr float kRadPerMinute = 0.00029088825f;
inline constexpr float kRadPerSecond = 4.8481375e-6f;
inline constexpr float kSecondsPerRadian = 206264.78125f;

// Limits of the distance and azimuth formulas
inline constexpr float kFlatEarthLimit = 0.00785f;         // rad; below it the plane formula serves
inline constexpr float kZeroDistanceLimit = 3.3936963e-6f; // rad
inline constexpr float kCoincidence = 9.696275e-7f;        // rad; points closer are one point
inline constexpr float kCosineLimit = 0.9999999f;
inline constexpr float kSmallestDivisor = 1e-10f;

}  // namespace geo

// Windows and great-circle geometry
namespace geo {

inline constexpr float kMercatorLatLimit = 1.5705056f;  // rad; Mercator lines clamp latitudes here
inline constexpr float kNearPoleLimit = 3.636103e-6f;   // rad; a densified end this near a pole is at it
inline constexpr float kLargestCircleKm = 20020.371f;   // radius of the window around a circle
inline constexpr float kPoleHalfWidth = 3.1415882f;     // rad; half-width of a window reaching a pole
inline constexpr float kFarKm = 26000.0f;               // beyond any distance on the sphere
inline constexpr float kRayStepKm = 50.0f;              // rays: step, longest ray at that step,
inline constexpr float kLongRayKm = 8000.0f;            // steps of a longer ray and the remainder
inline constexpr int kLongRaySteps = 160;               // that earns a point of its own
inline constexpr float kRayRemainderKm = 1.0f;
inline constexpr int kDensifyBuffer = 50;               // points made for one segment per pass

// Crossings, line clean-up and the satellite figures
inline constexpr float kCrossingTolerance = 1e-6f;     // rad, 4-byte points
inline constexpr double kFineCrossingTolerance = 1e-8; // rad, 8-byte points
inline constexpr double kFinePi = 3.14159265358979323846;  // 8-byte points wrap by the true pi
inline constexpr float kParallelLimit = 1e-20f;        // slopes closer are parallel
inline constexpr float kVerticalSlope = 1e35f;
inline constexpr int kMostLinePoints = 32768;          // longer lines are left alone
inline constexpr float kToleranceStepKm = 0.2f;        // thinning lowers its tolerance by this
inline constexpr float kDefaultEarthRadiusKm = 6370.0f;
inline constexpr float kDefaultOrbitRadiusKm = 42166.0f;
inline constexpr double kLargestElevationCosine = 0.99999999999999;
inline constexpr float kLimbScale = 0.99999f;
inline constexpr float kLimbStep = 0.031416f;          // rad between limb points

}  // namespace geo

// Outline clipping and point in polygon
namespace geo {

inline constexpr float kCutMargin = 0.0029088825f;        // rad; 10 minutes of arc around the window
inline constexpr int kMostCutPoints = 32767;
inline constexpr int kMostWindowCrossings = 6;  // MXDVCV: crossings of one edge with a window

}  // namespace geo

// The current map
namespace geo {

inline constexpr int kMaxAreaLines = 755;      // MAXLIN
inline constexpr int kMaxMapCodes = 64;        // MAXCTY
inline constexpr int kMaxRingLines = 860;      // MAXBRD
inline constexpr int kMaxOutlines = 650;       // MAXCUN
inline constexpr int kMaxReadLines = 770;      // MAXPOS
inline constexpr int kMaxOutlinePoints = 32700;  // MAXMAP
inline constexpr int kMaxPieces = 780;         // MAXLI2
inline constexpr int kMaxPiecePoints = 32700;  // MAXCL2
inline constexpr int kMaxPiecePointsEach = 125;  // a longer line is split
inline constexpr int kOptionCount = 20;
inline constexpr int kSmallestMapKm = 100;     // a new circle map is at least this wide
inline constexpr int kMapMarginKm = 5;         // and this much wider than asked
inline constexpr int kHeldMarginKm = 3;        // a request this far inside a circle map is held
inline constexpr int kWidestMapKm = 20020;     // larger requested radii are taken as this
inline constexpr int kMapSearchStepKm = 100;   // an empty map widens in these steps
inline constexpr int kMapSearchLimitKm = 20000;
inline constexpr int kMapWindowMarginSeconds = 60;
inline constexpr float kFullSpan = 6.265733f;  // rad; a map window wider spans every longitude
inline constexpr float kThinToleranceKm = 10.0f;
inline constexpr int kThinLeastPoints = 3;
inline constexpr float kNoWindow = 999.0f;     // the map window's edges while there is no map
inline constexpr int kNoRadius = -999;
inline constexpr float kNoSymbolLat = 1.4660767f;   // rad; no administration is found north of it
inline constexpr float kAntarcticLat = -1.3700836f; // rad; south of it lies "ATA"

}  // namespace geo

// The map lists
namespace geo {

inline constexpr int kAreaListPoints = 8150;  // MXALCR, MXCDCR: points of the shared area storage
inline constexpr int kMaxAllotmentAreas = 394;   // MXALID
inline constexpr int kMaxAllotmentTable = 398;   // MXALTB
inline constexpr int kMaxLocalListAreas = 328;   // MXALID of the local list
inline constexpr int kMaxLocalListTable = 340;   // MXALTB of the local list
inline constexpr int kMaxCoordinationAreas = 468;  // MXCDID
inline constexpr int kMaxAllotmentIndexAreas = 368;  // MXALIDQ
inline constexpr int kMaxAllotmentIndexTable = 372;  // MXALTBQ
inline constexpr int kMaxCoordinationIndex = 506;    // MXCDIDQ
inline constexpr int kCoordinationOffset = 32768;    // stored values are the file's less this
inline constexpr int kCoordinationBoundHigh = 50000;
inline constexpr float kRequestMarginKm = 10.0f;  // around a circle request that must fit the map

}  // namespace geo

// Zone lists
namespace geo {

inline constexpr int kMaxZones = 868;          // MXCDID
inline constexpr int kMaxZonePoints = 32691;   // MXCDCR
inline constexpr int kZoneKinds = 12;
inline constexpr int kZoneHeaderLine = 2;
inline constexpr double kZoneScale = 1e7;      // zone numbers are stored x 1e-7
inline constexpr int kZoneEntryPoints = 4;
inline constexpr int kZoneListOwner = 2;

}  // namespace geo

// Cutting a country outline to a window
namespace geo {

inline constexpr float kBorderStepKm = 1000.0f;     // densifying step of the window's outline
inline constexpr int kBorderPoints = 50;           // points of the densified window outline
inline constexpr double kSpikeDeg = 0.01;          // a turn this sharp is a spike

}  // namespace geo

// Fixed zone tables and the zone lists of GEOPNT12.BIN
namespace geo {

inline constexpr float kZoneLatBound = 1.5707941f;   // rad; nearer a pole no table is consulted
inline constexpr int kMostCutZonePoints = 75;        // MAXVEK: a polygon cut around a point
inline constexpr int kCutZoneMarginSeconds = 1;
inline constexpr int kRainVersionLine = 28000;
inline constexpr int kRainFirstLine = 28001;
inline constexpr float kRainSouth = -1.05f;          // rad; rain zones are searched in this band
inline constexpr float kRainNorth = 1.45f;
inline constexpr float kNamedRainZoneLat = 900.0f;   // a latitude this large names the zone instead
inline constexpr int kListDirectoryLine = 3;
inline constexpr int kCirafDirectoryPoint = 4;
inline constexpr int kListEntryPoints = 4;
inline constexpr int kMostListEntries = 250;         // entries of one list line
inline constexpr int kListNameLength = 18;
inline constexpr int kCirafNumberLength = 6;         // the name's zone number; the rest is its point
inline constexpr float kCirafPoleLat = 1.3962636f;   // rad; beyond 80 degrees lie zones 74 and 75
inline constexpr int kCirafSouthZone = 74;
inline constexpr int kCirafNorthZone = 75;

}  // namespace geo

// The radial search and the areas at a point
namespace geo {

inline constexpr float kSameCrossingKm = 0.04f;  // crossings this close are one

}  // namespace geo

// Distances to lines, areas, countries and coasts
namespace geo {
inline constexpr int kMaxNearestPoints = 373;     // MAXQLL: list entries and their nearest points
inline constexpr float kNotFoundKm = 999999.0f;   // nothing within the distance asked
inline constexpr float kFarthestFoundKm = 25000.0f;  // a distance above it counts as not found
inline constexpr float kInsideKm = -99.0f;        // the point lies inside the polygon
inline constexpr float kBoundMarginKm = 0.5f;     // added to a maximum to bound a search
inline constexpr float kCircleMarginKm = 0.04f;   // the check circle lies this much inside
inline constexpr int kCheckCircleStepDeg = 10;    // azimuth step of the check circle
inline constexpr int kNoRoom = 999;               // dropped count of a list without room
}  // namespace geo
// Areas and countries in a region
namespace geo {

inline constexpr int kRegionFigurePoints = 300;  // points of a beam or satellite-view polygon
inline constexpr const char* kRegion1SouthWest = "900000S0500001W";  // region 1's window, latitude first
inline constexpr const char* kRegion1NorthEast = "900000N1685829W";
inline constexpr int kMaxWindowCountries = 85;   // MXCTYW
inline constexpr int kMaxHandedOutLines = 670;   // LSTLOK: border lines listed, lines handed out
inline constexpr float kLeastThinningKm = 0.01f; // a request's distance above it thins its lines
inline constexpr int kThinnedLeastPoints = 4;
inline constexpr float kRegionStepKm = 30.0f;    // densifying step of region lines and window edges
inline constexpr int kFirstRegionLineId = 7350000;  // region lines above it are densified
inline constexpr float kRegionLonLimit = 3.1415832f;
inline constexpr float kRegionLatLimit = 1.5707868f;
inline constexpr int kMostEdgeCrossings = 100;   // MXCVDV
inline constexpr float kShortestEdgePieceKm = 0.04f;
inline constexpr int kWholeOutlineCapacity = 3;  // a larger capacity takes outlines in pieces

}  // namespace geo
