#include "schema/slot_files.h"

#include <QtGlobal>

namespace velmora {

const std::array<DoctorSlot, kDoctorSlotCount> kDoctorSlots = {{
    {1, "bdm1.mdb", "prof1", "interv1", "junta1", "p1_", SettingsFile::Main},
    {2, "bdm2.mdb", "prof2", "interv2", "junta2", "p2_", SettingsFile::Main},
    {3, "bdm3.mdb", "prof3", "interv3", "junta3", "p3_", SettingsFile::Main},
    {4, "bdm4.mdb", "prof4", "interv4", "junta4", "p4_", SettingsFile::Main},
    {5, "bdm5.mdb", "prof5", "interv5", "junta5", "p5_", SettingsFile::Main},
    {6, "bdm11.mdb", "prof11", "interv11", "junta6", "p6_", SettingsFile::Main},
    {7, "bdm12.mdb", "prof12", "interv12", "junta7", "p7_", SettingsFile::Extra},
    {8, "bdm13.mdb", "prof13", "interv13", "junta8", "p8_", SettingsFile::Extra},
    {9, "bdm14.mdb", "prof14", "interv14", "junta9", "p9_", SettingsFile::Extra},
    {10, "bdm15.mdb", "prof15", "interv15", "junta10", "p10_", SettingsFile::Extra},
}};

const char *const kMainSettingsFile = "bdm6.mdb";
const char *const kExtraSettingsFile = "bdm66.mdb";

const DoctorSlot &doctorSlot(int slot)
{
    Q_ASSERT(isDoctorSlot(slot));
    return kDoctorSlots[static_cast<size_t>(slot - 1)];
}

QString weeklyTimeField(int slot, int day, int index)
{
    return QString::fromLatin1(doctorSlot(slot).timePrefix) +
           QString::fromLatin1(kWeekdays[static_cast<size_t>(day)].code) + QString::number(index);
}

} // namespace velmora
