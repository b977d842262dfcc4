#pragma once

#include <QDate>
#include <QString>

namespace velmora {

// One row of an appointment table; a field without value reads as the empty text.
struct Appointment
{
    qint64 id = 0; // the row's place in the order rows were added
    QDate date;
    QString hora;
    QString nome;
    QString convenio;
    QString telefone;
    QString obs;
};

} // namespace velmora
