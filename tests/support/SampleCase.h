// A filled memorial sheet case shared by the printing tests and the benchmarks.
#pragma once

#include "calendar/Schedule.h"
#include "sheet/MemorialPage.h"

namespace ulvan::test {

inline MemorialSheetInputs FilledCase() {
    MemorialSheetInputs in;
    in.Deceased.Kaimyo = u"釋浄念信士";
    in.Deceased.Yomi = u"しゃくじょうねんしんじ";
    in.Deceased.Zokumyo = u"山田太郎";
    in.Deceased.GyoNen = u"82";
    in.Deceased.KiNen = u"2024";
    in.Deceased.KiNengo = u"令和";
    in.Deceased.KiWanen = u"6";
    in.Deceased.KiGatsu = u"3";
    in.Deceased.KiNichi = u"15";
    in.Options.TitName = u"忌日表";
    in.Options.FntName1 = u"IPAGothic";
    in.Options.FntName2 = u"IPAMincho";
    in.Options.TmplNamePrint = false;
    in.Schedule = DefaultSchedule();
    ComputeSchedule(u"2024", u"3", u"15", in.Schedule);
    return in;
}

} // namespace ulvan::test
