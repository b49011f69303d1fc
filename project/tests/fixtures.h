#pragma once
// Test helpers: a project whose every stored field holds a value unlike its default, so a round
// trip that drops or swaps a field shows up.

#include <cstring>
#include <string>

#include "project/doc.h"

inline void FillEveryStoredField(CHalvo98Doc& d) {
    int k = 1;
    auto i = [&k]() { return static_cast<std::int32_t>(1000 + k++); };
    auto f = [&k]() { return 0.5f + static_cast<float>(k++) * 1.25f; };
    auto g = [&k]() { return 0.1 + static_cast<double>(k++) * 1.0625; };
    d.applicationType = 2;
    d.unitsFlag = 0;
    d.currency = 2;
    d.wallPresent[0] = d.wallPresent[1] = d.wallPresent[2] = 1;
    d.wallPresent[3] = 0;
    CLocationData& l = d.location;
    l.weatherFile = "\\Weather\\Canada\\Toronto.wsw";
    l.stationCode = 7;
    l.stationName = "TORONTO INTL A";
    std::memcpy(l.regionCode, "ON", 3);
    std::memcpy(l.latitudeText, "N 43 40", 8);
    std::memcpy(l.longitudeText, "W  79 38\0\0\0", 12);
    l.elevation = 173.0f;
    l.dryBulb[0][0] = -6.5f;
    for (int c = 0; c < C_ClientData::kFieldCount; ++c) d.client.Field(c) = "client field " + std::to_string(c);
    for (int w = 0; w < kWallCount; ++w) {
        d.schedules[w].AssignSchedule(w + 1);
        CAirSystem& a = d.airSystems[w];
        a.outsideAirPercent = g();
        a.motorEfficiencyClass = i(); a.fanEfficiencyClass = i(); a.heatingFuel = i(); a.scheduleId = w + 1;
        a.exhaustFanLocation = i(); a.reservedA = i(); a.numberOfFans = i(); a.flowStraightener = i();
        a.taperedInlet = i(); a.reservedB = i(); a.reservedC = i();
        a.ductLength = f(); a.ductDiameter = f(); a.minSupplyTemp = f(); a.maxUsefulSupplyTemp = f();
        a.designFlow = f(); a.heatingEfficiency = f(); a.indoorTemp = f(); a.roofRValue = f();
        a.ceilingTemp = f(); a.exhaustFlow = f(); a.wallRValue = f(); a.porosityCopy = f();
        a.ductPressureDrop = f();
        d.schedules[w].Convert2BOOLs(a.halfMonthOperation, a.hourlyOperation);
        CCollectorSpec& c = d.collectors[w];
        c.reservedD = i(); c.reservedE = i(); c.reservedCost1 = i(); c.reservedCost2 = f();
        c.reservedCost3 = f(); c.reservedCost4 = f(); c.windFactor = f();
        c.reservedCostB1 = i(); c.reservedCostB2 = f(); c.reservedCostB3 = i(); c.reservedCostB4 = i();
        c.reservedCostB5 = f(); c.reservedCostB6 = f(); c.reservedCostB7 = f(); c.reservedCostB8 = i();
        c.reservedCostB9 = f(); c.reservedCostB10 = f(); c.reservedCostB11 = i();
        c.numberOfBypassDampers = i(); c.canopyDepth = f(); c.porosity = f(); c.reservedF = i();
        c.pictureCode = i(); c.damperWidth = f(); c.damperHeight = f(); c.canopyHeight = f();
        c.reservedG = f(); c.bypassTemp = f(); c.bypassType = i(); c.collectorWidth = f();
        c.collectorHeight = f(); c.slope = f(); c.azimuth = f(); c.plenumDepth = f(); c.canopyType = i();
        c.collectorType = i(); c.testFrTauAlpha = f(); c.testFrUL = f(); c.testFlow = f(); c.testArea = f();
        c.testDataKind = i(); c.useTestData = i();
    }
    CEconomicInputs& e = d.economics;
    for (double& r : e.reserved) r = g();
    e.projectLife = g(); e.inflation = g(); e.discountRate = g(); e.debtRatio = g();
    e.debtInterestRate = g(); e.depreciationRate = g(); e.debtTerm = g(); e.grant = g();
    e.corporateTaxRate = g(); e.fuelCostClassShown = 3;
    for (double& p : e.fuelPrice) p = g();
    e.fuelEscalationRate = g(); e.tax1Rate = g(); e.tax2Rate = g(); e.fuelTax1Flag = 0; e.fuelTax2Flag = 0;
    std::strcpy(e.tax1Name, "HSTX");
    std::strcpy(e.tax2Name, "Q");
    for (CEconQtyItem* q : {&e.collector, &e.ducting, &e.bypassDamper, &e.fans, &e.creditWallCladding,
                            &e.creditMakeupAir, &e.creditFreight, &e.creditInstallation}) {
        q->tax1Flag = 0; q->tax2Flag = i(); q->quantity = g(); q->unitCost = g(); q->amount = g();
    }
    for (CEconLumpItem* q : {&e.collectorInstallation, &e.freight, &e.mechInstallation}) {
        q->tax1Flag = 0; q->tax2Flag = i(); q->cost = g(); q->amount = g();
    }
    for (CEconPercentItem* q : {&e.overheadProfit, &e.engineering, &e.creditOverheadProfit, &e.creditEngineering}) {
        q->tax1Flag = 0; q->tax2Flag = i(); q->percent = g(); q->lumpSum = g(); q->amount = g(); q->lumpSumFlag = 1;
    }
    e.ductingUnitIndex = 2;
    e.creditMakeupAirUnitIndex = 1;
    for (int c = 0; c < C_Doc4Dealer::kFieldCount; ++c) d.dealer.Field(c) = "dealer " + std::to_string(c);
}
