#pragma once

#include "core/model/patient.h"

#include <QDate>
#include <QString>

namespace velmora {

// A CPF of eleven digits whose two check digits are right, and not one digit repeated (111.111.111-11
// passes the check digits but is no one's).
bool validCpf(const QString &typed);
// "529.982.247-25" of the eleven digits; other text as it is.
QString shownCpf(const QString &digits);
// A national health card (CNS) of fifteen digits: a definitive one (starting 1 or 2) made from its
// first eleven by the check digit rule, a provisional one (7, 8 or 9) whose weighted sum is a multiple
// of eleven.
bool validCns(const QString &typed);

// What is wrong, in the receptionist's words, with each field as typed; empty when nothing is.
QString cpfRefusal(const QString &typed, CpfAbsence absence);
QString cnsRefusal(const QString &typed);
QString birthDateRefusal(QDate birth, QDate today);
QString cepRefusal(const QString &typed);
// The first of these and a missing name, for the patient as a whole.
QString patientRefusal(const Patient &patient, QDate today);

} // namespace velmora
