#include "capacity/driver.hpp"

#include <array>

#include "capacity/plot_file.hpp"
#include "capacity/post_processing.hpp"
#include "capacity/result_check.hpp"
#include "capacity/tables.hpp"
#include "methods/offshore/api.hpp"
#include "methods/offshore/fugro.hpp"
#include "methods/offshore/icp.hpp"
#include "methods/offshore/ngi.hpp"
#include "methods/offshore/user_method.hpp"
#include "methods/offshore/uwa.hpp"
#include "methods/onshore/fhwa.hpp"
#include "methods/onshore/lambda.hpp"
#include "methods/onshore/usace.hpp"
#include "model/grid.hpp"
#include "settlement/load_transfer.hpp"

namespace pileaxial {

namespace {

using UnitTransferRoutine = void (*)(Run&);

// The unit-value routine of each MethodId; a slot without a routine is skipped and prints nothing.
constexpr std::array<UnitTransferRoutine, kMethodCount> kRoutines = {
    FhwaUnitTransfer,  // 1 FHWA
    UsaceUnitTransfer, // 2 USACE
    LambdaUnitTransfer,// 3 Revised Lambda
    ApiUnitTransfer,   // 4 API RP-2A (2010)
    NgiUnitTransfer,   // 5 NGI
    IcpUnitTransfer,   // 6 ICP/MTD
    FugroUnitTransfer, // 7 Fugro 2004
    UwaUnitTransfer,   // 8 UWA
    UserUnitTransfer,  // 9 user-specified unit load transfers
};

bool hasRoutine(int methodId) { return kRoutines[static_cast<std::size_t>(methodId - 1)] != nullptr; }

bool selected(const Run& run, int methodId) {
    return run.pile.methodSelected[InputOrderOf(methodId)] == 1;
}

// A method's curves reach the output when its table is printed or when the load-settlement analysis
// works from them; those must be finite numbers.  The other methods are computed all the same, but
// nothing of them is written.
void checkCurvesReachingOutput(const Run& run, int methodId) {
    if (selected(run, methodId) || methodId == MethodIdOfInput(run.pile.loadTransferMethod)) {
        CheckMethodCurvesFinite(run, methodId);
    }
}

void refillPileLength(Run& run) {
    CapacityState& cap = run.capacity();
    cap.PileLength[1] = 0;
    for (int k = 2; k <= cap.pileNodeCount; ++k) cap.PileLength[k] = (k - 1) * run.pile.lengthIncrement;
}

void postProcess(Run& run, int methodId) {
    run.capacity().CurrentMethodId = methodId;
    PostProcessMethod(run);
}

// Runs one method's routine and its post-processing, and keeps the node unit friction the method
// leaves (after its limit) with the method, so its table and the load-transfer hand-over can read it
// after other methods have run.
void computeMethod(Run& run, int methodId) {
    CapacityState& cap = run.capacity();
    kRoutines[static_cast<std::size_t>(methodId - 1)](run);
    postProcess(run, methodId);
    MethodCurves& curves = cap.method[methodId];
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        curves.SavedUnitSideFriction[k] = cap.current.LimitedUnitSideFriction[k];
    }
    curves.computed = true;
    refillPileLength(run);
}

// Onshore factor step: each method's end bearing (in tension its self weight) times the LRFD factor
// on bearing of the node, and the ultimate capacity from the method's own side resistance.
void factorOnshoreMethods(Run& run) {
    CapacityState& cap = run.capacity();
    for (int m = kFhwa; m <= kLambda; ++m) {
        MethodCurves& curves = cap.method[m];
        for (int k = 1; k <= cap.pileNodeCount; ++k) {
            curves.SavedEndBearing[k] = curves.SavedUnfactoredEndBearing[k] * run.grid.segLrfdBearing[k];
            curves.PrintedSkin[k] = curves.SavedSkin[k];
            curves.SavedUltimateCapacity[k] = curves.PrintedSkin[k] + curves.SavedEndBearing[k];
        }
    }
}

// Factor step of an offshore method, right after it ran: its end bearing (in tension its self weight)
// times the LRFD factor on bearing of the node, kept as the method's own factored curve, and the
// ultimate capacity from the side resistance the routine left behind, which is the one reduced by
// the LRFD factors on friction.  The method's SavedSkin (by the reporting option) is what the
// load-transfer hand-over reads; the table shows the reduced resistance.
void factorOffshoreMethod(Run& run, int methodId) {
    CapacityState& cap = run.capacity();
    MethodResult& r = cap.current;
    MethodCurves& curves = cap.method[methodId];
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        r.EndBearing[k] = r.EndBearing[k] * run.grid.segLrfdBearing[k];
        r.UltimateCapacity[k] = r.TotalSkinFriction[k] + r.EndBearing[k];
        curves.SavedEndBearing[k] = r.EndBearing[k];
        curves.PrintedSkin[k] = r.TotalSkinFriction[k];
        curves.SavedUltimateCapacity[k] = r.UltimateCapacity[k];
    }
}

void printMethodTable(Run& run, int methodId) {
    const CapacityState& cap = run.capacity();
    const MethodCurves& curves = cap.method[methodId];
    const TableVariant variant = SelectTableVariant(run.pile, methodId);
    WriteTableHeading(run, methodId, variant);
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        if (!IsPrintedNode(k, cap.pileNodeCount, run.pile.printInterval)) continue;
        CapacityRow row;
        row.pileLength = cap.PileLength[k];
        row.skinFriction = curves.PrintedSkin[k];
        row.endBearing = curves.SavedEndBearing[k];
        row.ultimateCapacity = curves.SavedUltimateCapacity[k];
        row.plugLength = curves.SavedPlugLength[k];
        row.plugControlsTip = curves.TipControl[k] == 2;
        row.unitSideFriction = curves.SavedUnitSideFriction[k];
        WriteTableRow(run, variant, row);
    }
}

// The offshore methods in their fixed order, each computed, factored and (when selected) printed
// before the next one overwrites the current arrays.  API RP-2A always runs; the cone-based methods
// (NGI, ICP/MTD, Fugro 2004, UWA) need a CPT sounding.
void runOffshoreMethods(Run& run) {
    for (int m = kApi; m <= kUwa; ++m) {
        if (m != kApi && run.pile.cptDataSwitch != 1) continue;
        if (!hasRoutine(m)) continue;
        computeMethod(run, m);
        factorOffshoreMethod(run, m);
        checkCurvesReachingOutput(run, m);
        if (selected(run, m)) printMethodTable(run, m);
    }
}

// The user-specified method, once per run and only when some segment carries a user value: its skin
// friction and end bearing (in tension the pile's weight from the post-processing), the end-bearing
// factor, the capacity and the saved curves at every node, and in the first pass its table.
void runUserMethod(Run& run, int pass) {
    CapacityState& cap = run.capacity();
    if (cap.UserMethodDone) return;
    bool userValues = false;
    for (int s = 1; s <= run.pile.segmentCount && !userValues; ++s) {
        userValues = run.grid.segUserFriction[s] != 0.0 || run.grid.segUserBearing[s] != 0.0;
    }
    if (!userValues) return;

    UserUnitTransfer(run);
    MethodCurves& curves = cap.method[kUserMethod];
    if (run.pile.tensionLoading == 1) {
        // Pulled out, the pile's own weight takes the place of the end bearing, whatever the plug.
        postProcess(run, kUserMethod);
        for (int k = 1; k <= cap.pileNodeCount; ++k) cap.UserEndBearing[k] = cap.current.EndBearing[k];
    } else {
        for (int k = 1; k <= cap.pileNodeCount; ++k) {
            curves.SavedPlugLength[k] = 0.0;
            curves.TipControl[k] = 1;
        }
    }
    refillPileLength(run);
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        curves.SavedUnfactoredEndBearing[k] = cap.UserEndBearing[k];
        cap.UserEndBearing[k] = cap.UserEndBearing[k] * run.grid.segLrfdBearing[k];
        cap.UserUltimateCapacity[k] = cap.UserSkinFriction[k] + cap.UserEndBearing[k];
        curves.SavedSkin[k] = cap.UserSkinFriction[k];
        curves.PrintedSkin[k] = cap.UserSkinFriction[k];
        curves.SavedEndBearing[k] = cap.UserEndBearing[k];
        curves.SavedUltimateCapacity[k] = cap.UserUltimateCapacity[k];
        curves.SavedUnitSideFriction[k] = run.grid.segUserFriction[k];
    }
    curves.computed = true;
    checkCurvesReachingOutput(run, kUserMethod);
    if (pass == 1 && selected(run, kUserMethod)) printMethodTable(run, kUserMethod);
    cap.UserMethodDone = true;
}

int selectedMethodCount(const Run& run) {
    int count = 0;
    for (int input = 1; input <= 9; ++input) {
        if (input >= 6 && run.pile.cptDataSwitch != 1) continue;
        const int methodId = MethodIdOfInput(input);
        if (run.pile.methodSelected[input] == 1 && hasRoutine(methodId)) ++count;
    }
    return count;
}

}  // namespace

void RunCapacityPass(Run& run, int pass) {
    CapacityState& cap = run.capacity();
    cap.AnalysisPass = pass;

    BuildSegmentGrid(run);
    cap.pileNodeCount = run.pile.tipNodeCount;
    refillPileLength(run);

    for (int m = kFhwa; m <= kLambda; ++m) postProcess(run, m);
    refillPileLength(run);
    cap.plotRowCount = PlotRowCount(cap.pileNodeCount, run.pile.printInterval);

    if (pass == 1) {
        WritePlotHeader(run.plot, selectedMethodCount(run), cap.plotRowCount, run.pile.unitSystem,
                        run.pile.loadTransferMethod);
    }
    runUserMethod(run, pass);
    if (pass == 1) {
        for (int m = kFhwa; m <= kLambda; ++m) {
            if (hasRoutine(m)) computeMethod(run, m);
        }
        factorOnshoreMethods(run);
        for (int m = kFhwa; m <= kLambda; ++m) {
            if (hasRoutine(m)) checkCurvesReachingOutput(run, m);
        }
        for (int m = kFhwa; m <= kLambda; ++m) {
            if (hasRoutine(m) && selected(run, m)) printMethodTable(run, m);
        }
        return;
    }

    // Pass 2: the onshore curves recomputed at the start of the pass are factored again so the
    // hand-over reads current values; the offshore methods follow, and the hand-over comes after all
    // of them.
    factorOnshoreMethods(run);
    for (int m = kFhwa; m <= kLambda; ++m) {
        if (hasRoutine(m)) checkCurvesReachingOutput(run, m);
    }
    runOffshoreMethods(run);
    HandOverLoadTransferMethod(run);
    LoadSettlementAnalysis(run);
    if (run.settlement.verificationCount > 0) VerificationTzCurves(run);
}

void HandOverLoadTransferMethod(Run& run) {
    CapacityState& cap = run.capacity();
    const int m = MethodIdOfInput(run.pile.loadTransferMethod);
    const MethodCurves& curves = cap.method[m];
    for (int k = 1; k <= cap.pileNodeCount; ++k) {
        cap.current.TotalSkinFriction[k] = curves.SavedSkin[k];
        // The unfactored curve is kept per method, so a bearing factor of 0 hands over cleanly.
        cap.current.EndBearing[k] = curves.SavedUnfactoredEndBearing[k];
        cap.current.LimitedUnitSideFriction[k] = curves.SavedUnitSideFriction[k];
    }
}

void RunCapacityAnalysis(Run& run) {
    run.capacity().UserMethodDone = false;
    RunCapacityPass(run, 1);
    RunCapacityPass(run, 2);
}

}  // namespace pileaxial
