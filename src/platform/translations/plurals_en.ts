<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AppointmentBook</name>
    <message numerus="yes">
        <source>%n session(s) booked, from %1 to %2.</source>
        <translation>
            <numerusform>%n session booked, from %1 to %2.</numerusform>
            <numerusform>%n sessions booked, from %1 to %2.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n session(s) moved.</source>
        <translation>
            <numerusform>%n session moved.</numerusform>
            <numerusform>%n sessions moved.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message numerus="yes">
        <source>Imported: %n file(s) of the older program, with %1.</source>
        <translation>
            <numerusform>Imported: %n file of the older program, with %1.</numerusform>
            <numerusform>Imported: %n files of the older program, with %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n appointment(s)</source>
        <translation>
            <numerusform>%n appointment</numerusform>
            <numerusform>%n appointments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Texts longer than the reader can read (1 MiB), cut there: %n.</source>
        <translation>
            <numerusform>Texts longer than the reader can read (1 MiB), cut there: %n.</numerusform>
            <numerusform>Texts longer than the reader can read (1 MiB), cut there: %n.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Appointments dated with a time of day: %n; the date was kept, the time of day left out.</source>
        <translation>
            <numerusform>Appointments dated with a time of day: %n; the date was kept, the time of day left out.</numerusform>
            <numerusform>Appointments dated with a time of day: %n; the date was kept, the time of day left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MonthReport</name>
    <message numerus="yes">
        <source>others (%n plan(s))</source>
        <translation>
            <numerusform>others (%n plan)</numerusform>
            <numerusform>others (%n plans)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SqueezeIns</name>
    <message numerus="yes">
        <source>%1 takes %n squeeze-in(s) a day, and this day has %2 already. Book %3 as one more all the same?</source>
        <translation>
            <numerusform>%1 takes %n squeeze-in a day, and this day has %2 already. Book %3 as one more all the same?</numerusform>
            <numerusform>%1 takes %n squeeze-ins a day, and this day has %2 already. Book %3 as one more all the same?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message numerus="yes">
        <source>%n file(s) of the older program: %1 and the settings of %2. Import them? The originals are kept unchanged in the folder legacy.</source>
        <translation>
            <numerusform>%n file of the older program: %1 and the settings of %2. Import them? The originals are kept unchanged in the folder legacy.</numerusform>
            <numerusform>%n files of the older program: %1 and the settings of %2. Import them? The originals are kept unchanged in the folder legacy.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n appointment(s)</source>
        <translation>
            <numerusform>%n appointment</numerusform>
            <numerusform>%n appointments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n doctor(s)</source>
        <translation>
            <numerusform>%n doctor</numerusform>
            <numerusform>%n doctors</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Storage</name>
    <message numerus="yes">
        <source>%n appointment(s) held to be moved are copied where they stand, no longer held: hold them again after the copy to move them.</source>
        <translation>
            <numerusform>%n appointment held to be moved is copied where it stands, no longer held: hold it again after the copy to move it.</numerusform>
            <numerusform>%n appointments held to be moved are copied where they stand, no longer held: hold them again after the copy to move them.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n appointment(s) copied, every row checked</source>
        <translation>
            <numerusform>%1: %n appointment copied, every row checked</numerusform>
            <numerusform>%1: %n appointments copied, every row checked</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::CalendarWindow</name>
    <message numerus="yes">
        <source>%n appointment(s) fall in this closure. They stay booked and are listed to reschedule. Save the closure?</source>
        <translation>
            <numerusform>%n appointment falls in this closure. It stays booked and is listed to reschedule. Save the closure?</numerusform>
            <numerusform>%n appointments fall in this closure. They stay booked and are listed to reschedule. Save the closure?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::ConfirmationWindow</name>
    <message numerus="yes">
        <source>%n appointment(s)</source>
        <translation>
            <numerusform>%n appointment</numerusform>
            <numerusform>%n appointments</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::FindWindow</name>
    <message numerus="yes">
        <source>Found: %n</source>
        <translation>
            <numerusform>Found: %n</numerusform>
            <numerusform>Found: %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::MainWindow</name>
    <message numerus="yes">
        <source>%1 (%2): %n left, last %3</source>
        <translation>
            <numerusform>%1 (%2): %n left, last %3</numerusform>
            <numerusform>%1 (%2): %n left, last %3</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::SeriesWindow</name>
    <message numerus="yes">
        <source> week(s)</source>
        <translation>
            <numerusform> week</numerusform>
            <numerusform> weeks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n session(s) in the way: choose what to do with each.</source>
        <translation>
            <numerusform>%n session in the way: choose what to do with each.</numerusform>
            <numerusform>%n sessions in the way: choose what to do with each.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::PatientWindow</name>
    <message numerus="yes">
        <source>%n appointment(s), %1 missed.</source>
        <translation>
            <numerusform>%n appointment, %1 missed.</numerusform>
            <numerusform>%n appointments, %1 missed.</numerusform>
        </translation>
    </message>
</context>
</TS>
