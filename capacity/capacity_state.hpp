#pragma once
// Results of the capacity analysis of one run: the driver's state, the arrays of the method in hand
// (overwritten by every method), and the curves each method keeps for the tables and the
// load-settlement analysis.
#include "model/model.hpp"

namespace pileaxial {

inline constexpr int kMethodCount = 9;

// MethodId: numbering of the methods inside the computation.
inline constexpr int kFhwa = 1;
inline constexpr int kUsace = 2;
inline constexpr int kLambda = 3;
inline constexpr int kApi = 4;
inline constexpr int kNgi = 5;
inline constexpr int kIcp = 6;
inline constexpr int kFugro = 7;
inline constexpr int kUwa = 8;
inline constexpr int kUserMethod = 9;

// Position of a MethodId in the input's method list (methodSelected, loadTransferMethod).
constexpr int InputOrderOf(int methodId) {
    constexpr int order[kMethodCount] = {1, 2, 3, 4, 6, 7, 8, 9, 5};
    return order[methodId - 1];
}
// MethodId of a position in the input's method list.
constexpr int MethodIdOfInput(int inputNumber) {
    constexpr int id[kMethodCount] = {1, 2, 3, 4, 9, 5, 6, 7, 8};
    return id[inputNumber - 1];
}

using NodeArray = Array1<double, kMaxNodes>;

// A value at the top (end 1) and at the bottom (end 2) of every segment: Pair(1, s), Pair(2, s).
class SegmentPairArray {
public:
    double& operator()(int end, int s) { return end == 1 ? top_[s] : checkedBottom(end)[s]; }
    double operator()(int end, int s) const { return end == 1 ? top_[s] : checkedBottom(end)[s]; }
    const Array1<double, kMaxNodes>& top() const { return top_; }
    const Array1<double, kMaxNodes>& bottom() const { return bottom_; }

private:
    Array1<double, kMaxNodes>& checkedBottom(int end) {
        if (end != 2) throw IndexError("segment end " + std::to_string(end) + " is neither 1 nor 2");
        return bottom_;
    }
    const Array1<double, kMaxNodes>& checkedBottom(int end) const {
        if (end != 2) throw IndexError("segment end " + std::to_string(end) + " is neither 1 nor 2");
        return bottom_;
    }
    Array1<double, kMaxNodes> top_, bottom_;
};

// The arrays one method call fills; the next method overwrites them.
struct MethodResult {
    // Per segment.
    SegmentPairArray SegmentUnitBearing;   // unit end bearing at segment top and bottom
    SegmentPairArray InnerUnitFriction;    // unit friction between pile and soil plug
    SegmentPairArray InnerFrictionSum;     // plug friction accumulated from the head
    SegmentPairArray AnnulusBearing;       // end bearing of the steel annulus (force)
    // Gross-section bearing force and its cap at the segment ends, and their running integrals over
    // depth (working arrays of the tip average).
    SegmentPairArray GrossForce, GrossCapForce, GrossIntegral, GrossCapIntegral;

    // Per pile node k.
    NodeArray UnitSideFriction;            // node unit side friction
    NodeArray NodeFrictionLimit;           // maximum unit side friction copied to the node
    NodeArray LimitedUnitSideFriction;     // node unit side friction after the method's limit
    NodeArray SideForceIncrement;          // side force of the increment ending at node k
    NodeArray SideForceLimit;              // its limit
    NodeArray TotalSkinFriction;           // cumulative side resistance (factored once the method ends)
    NodeArray ReducedCumulativeSideResistance;
    NodeArray ReportedSkinFriction;        // per the reporting option (unfactored or reduced)

    NodeArray PlugFriction, PlugFrictionStep, AnnulusBearingAt, GrossBearingAt, CarriedPlugFriction;
    NodeArray EndBearing;                  // tip resistance; in tension the pile weight
    NodeArray PlugLength;
    NodeArray UltimateCapacity;
};

// What each method keeps after the next method has run.
struct MethodCurves {
    SegmentPairArray SegmentUnitFriction;      // per segment, top and bottom
    SegmentPairArray SegmentRemoldedFriction;  // the second pair: inside of the pile / alternate
    SegmentPairArray SegmentThirdFriction;     // USACE mixed soil class only
    NodeArray SavedSkin;                 // side resistance as reported (reporting option)
    NodeArray PrintedSkin;               // side resistance the method's table shows (offshore
                                         // methods: the reduced one whatever the reporting option)
    NodeArray SavedEndBearing;           // end bearing (tension: self weight) times the LRFD factor
    NodeArray SavedUnfactoredEndBearing; // end bearing (tension: self weight) before the factor
    NodeArray SavedUnitSideFriction;     // node unit side friction after the method's limit
    NodeArray SavedPlugLength;
    NodeArray SavedUltimateCapacity;
    Array1<int, kMaxNodes> TipControl;   // 1 gross section governs, 2 plug friction controls the tip
    bool computed = false;               // the method has run in this analysis
};

struct CapacityState {
    int AnalysisPass = 0;
    int CurrentMethodId = 0;
    bool UserMethodDone = false;
    int pileNodeCount = 0;
    NodeArray PileLength;
    int plotRowCount = 0;

    MethodResult current;
    Array1<MethodCurves, kMethodCount> method;

    // Adhesion factor last read from an FHWA adhesion chart in this run.  A cohesive segment for
    // which no adhesion case is chosen keeps it; before any chart has been read it is not set.
    double fhwaAdhesionFactor = 0;
    bool fhwaAdhesionSet = false;

    // The user-specified method keeps its own pair of curves.
    NodeArray UserSkinFriction, UserEndBearing, UserUltimateCapacity;
};

}  // namespace pileaxial
