#pragma once
// The pile and soil model of one run: the pile with every analysis switch, the soil data points, the
// CPT sounding, the report's unit labels and the computation grid of equal pile segments.
// Units: English = feet, inches for diameters, ksf (after input conversion), pcf, kips;
//        SI      = metres, millimetres for diameters, kPa, kN/m^3, kN.
#include <string>

#include "model/fixed_array.hpp"

namespace pileaxial {

inline constexpr int kMaxSoilPoints = 80;
inline constexpr int kMaxSegments = 500;
inline constexpr int kMaxCptPoints = 1000;
inline constexpr int kMaxAreaRows = 99;
inline constexpr int kMaxVerificationDepths = 100;
inline constexpr int kMaxTzRows = 100;
inline constexpr int kMaxTipMovements = 91;
// Pile nodes (pile lengths 0, dz, 2 dz, ... down to the tip).  A vertical pile has at most one node
// more than the grid has segments; a battered pile reaches further along its axis than the profile
// reaches in depth, so the node arrays are larger than the segment arrays.
inline constexpr int kMaxNodes = 1000;

// Single-precision design constants widened to double, so the numbers match the reference reports.
inline constexpr double kSinglePi = 3.14159274101257324;       // pi in single precision
inline constexpr double kPerimeterPi = 3.1416f;                 // perimeter -> equivalent diameter
inline constexpr double kAreaFactor = 0.7854f;                  // pi/4 for section areas
inline constexpr double kLengthTolerance = 1.0e-6f;             // before truncating a length ratio
inline constexpr double kPresentTolerance = 1.0e-5f;            // a value counts as given above this
inline constexpr double kNotGivenTolerance = 1.0e-10f;          // an input counts as not given below
inline constexpr double kNoLimit = 9999999.0;                   // a maximum the user did not give
inline constexpr double kNoWaterTable = 99999.0;                // water-table sentinel
inline constexpr double kPsiPerKpa = 6.8948f;                   // kPa per psi
inline constexpr double kCriticalStressSi = 167.58f;            // 3.5 ksf in kPa
inline constexpr double kEarthPressureDefault = 0.8f;

struct PileModel {
    int unitSystem = 0;       // 1 English, 2 SI
    int printInterval = 0;
    int soilPointCount = 0;
    int tipClosure = 0;       // 0 open-ended, 1 closed-ended
    int pileType = 0;         // 1..7

    double perimeter = 0;
    double crossSectionArea = 0;      // English: ft^2 after reading
    double crossSectionAreaAsRead = 0;
    double outsideDiameter = 0;
    double outsideDiameterAsRead = 0;
    double insideDiameter = 0;
    double elasticModulus = 0;
    double totalLength = 0;           // replaced by embeddedLength once the echo is written
    double totalLengthAsRead = 0;
    double stickupLength = 0;
    double embeddedLength = 0;

    double enhancedEndLength = 0;
    double enhancedEndDiameter = 0;
    double batterAngle = 0;           // degrees on input, radians after the run converts it
    double batterAngleAsRead = 0;

    double zeroFrictionLength = 0;
    double lengthIncrement = 0;
    double verticalIncrement = 0;
    double taperAngle = 0;
    int loadTransferMethod = 0;       // 1..9 in input order
    int cptDataSwitch = 0;
    int reducedSideFriction = 0;
    Array1<int, 9> methodSelected;    // input order: FHWA, USACE, Lambda, API, user, NGI, ICP, Fugro, UWA

    double deepestSoilDepth = 0;
    double uniformArea = 0;
    double sectionArea = 0;

    int tensionLoading = 0;
    double tensionReductionFactor = 1.0;
    int clayDrained = 0;
    int plugOption = 0;
    int longPileOption = 0;

    int areaCount = 0;
    int areaMode = 0;
    Array1<double, kMaxAreaRows> areaDistance;
    Array1<double, kMaxAreaRows> areaValue;

    int criticalDepthOption = 0;
    double userCriticalDepth = 0;

    int segmentCount = 0;
    int tipNodeCount = 0;

    bool english() const { return unitSystem == 1; }
};

// The inside diameter (in. or mm) the cone-based methods work with: the bore of the pile end, and
// none for a closed-ended pile, which displaces the soil over its whole section whatever its bore.
inline double ConeMethodInsideDiameter(const PileModel& pile) {
    return pile.tipClosure == 1 ? 0.0 : pile.enhancedEndDiameter;
}

struct SoilLayer {
    double depth = 0;
    double soilType = 0;              // 1 sand, 2 clay, 3 silt, compared as exact reals
    double earthPressureCoeff = 0;
    double effectiveUnitWeight = 0;
    double frictionAngle = 0;
    double bearingFactor = 0;
    double maxUnitFriction = 0;
    double maxUnitBearing = 0;
    double undrainedShearStrength = 0;
    double remoldedShearStrength = 0;
    double blowCount = 0;
    double plasticityIndex = 0;       // % as read
    double coneResistance = 0;        // as read: psf in English units (ksf where used), kPa in SI
    double userUnitFriction = 0;      // S2 position 8 as read
    double userUnitBearing = 0;       // S2 position 9 as read
    double lrfdFriction = 0;
    double lrfdBearing = 0;
    double tipOrCaseValue = 0;
    double tipOrCaseValueAsRead = 0;  // the FHWA adhesion case reads this, not the SI-scaled value
    double peakMovement = 0;
    double residualRatio = 0;
};

struct SoilProfile {
    int count = 0;
    Array1<SoilLayer, kMaxSoilPoints> point;
    double waterTableDepth = kNoWaterTable;
    Array1<bool, kMaxSoilPoints> frictionDefault;
    Array1<bool, kMaxSoilPoints> bearingDefault;
};

struct CptSounding {
    int cptPointCount = 0;
    Array1<double, kMaxCptPoints> cptDepth;
    Array1<double, kMaxCptPoints> cptValue;
};

// Inputs of the load-settlement analysis, kept as read.
struct SettlementInput {
    int verificationSwitch = 0;
    int verificationCount = 0;
    Array1<double, kMaxVerificationDepths> verificationDepth;
    int tzTableSwitch = 0;
    int tzRowCount = 0;              // as read; rows are stored only when it is at least 2
    Array1<double, kMaxTzRows> tzDepth;
    Array1<double, kMaxTzRows> tzMultiplierT;
    Array1<double, kMaxTzRows> tzMultiplierZ;
    int settlementListSwitch = 0;
    int tipMovementCount = 0;
    Array1<double, kMaxTipMovements> tipMovement;
    int scaleFactorSwitch = 0;
    double tipLoadFactor = 0;
    double tipMovementFactor = 0;
};

struct UnitLabels {
    std::string length;      // 3 characters
    std::string diameter;
    std::string force;
    std::string stress;
    std::string unitWeight;  // 7 characters
    std::string area;
    std::string modulus;
};

// The computation grid.  Segment s runs from segTop[s] to segBottom[s] (vertical depths).  The soil
// arrays are also filled for pile nodes beyond the last segment (a battered pile has more nodes than
// segments), so they carry the node capacity; the stresses exist for segments only.  In English
// units segConeResistance stays in psf like the soil points, while segUserFriction and segUserBearing
// are in ksf.
struct SegmentGrid {
    Array1<double, kMaxNodes> segTop, segBottom;
    Array1<double, kMaxNodes> segSoilType, segEarthPressure, segUnitWeight, segFrictionAngle,
        segBearingFactor, segMaxFriction, segMaxBearing, segShearStrength, segRemoldedStrength,
        segBlowCount, segPlasticityIndex, segConeResistance, segUserFriction, segUserBearing,
        segLrfdFriction, segLrfdBearing, segTipOrCaseValue, segTipOrCaseValueFhwa, segPeakMovement;
    Array1<double, kMaxSegments> segStressTop, segStressBottom;
    Array1<double, kMaxSegments> segStressCappedTop, segStressCapped;
    int filledCount = 0;     // indices whose soil arrays are filled (max of segments and nodes)
};

// State the grid builder carries from one build to the next within a run.
struct GridCarry {
    double correlationAngle = 0;      // last angle the blow-count correlation returned
    bool correlationReturned = false;
    double criticalDepth = 0;         // running critical depth zc, never reset in a run
    // Segments of the last build that needed an estimated friction angle but had neither a blow count
    // nor an earlier estimate to fall back on (they take 0); the run warns about them.
    int unestimatedAngleSegments = 0;
};

// The whole model of one run.  The run object (engine/run.hpp) is a Model with its files and
// channels; the model routines take just the Model.
struct Model {
    std::string title, designer, jobNumber;   // first 72 characters of records T1 to T3
    PileModel pile;
    SoilProfile soil;
    CptSounding cpt;
    SettlementInput settlement;
    UnitLabels labels;
    SegmentGrid grid;
    GridCarry carry;
};

}  // namespace pileaxial
