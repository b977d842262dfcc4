<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_PT">
<context>
    <name>AppointmentBook</name>
    <message>
        <source>Please choose professional first</source>
        <translation>Escolha o profissional primeiro</translation>
    </message>
    <message>
        <source>No appointment is selected: choose one in the list first.</source>
        <translation>Nenhuma consulta está selecionada: escolha uma na lista primeiro.</translation>
    </message>
    <message>
        <source>doctor %1</source>
        <translation>profissional %1</translation>
    </message>
    <message>
        <source>the doctor&apos;s slot length or linked book has no value in the settings</source>
        <translation>o intervalo do profissional ou a agenda associada está em branco no cadastro</translation>
    </message>
    <message>
        <source>The appointment book of %1 could not be opened: %2.

No doctor is chosen; please choose one again.</source>
        <translation>A agenda de %1 não pôde ser aberta: %2.

Nenhum profissional está escolhido; escolha um novamente.</translation>
    </message>
    <message>
        <source>The appointments of %1 could not be read: %2.

The list stays empty until they can be read.</source>
        <translation>As consultas de %1 não puderam ser lidas: %2.

A lista fica vazia até que possam ser lidas.</translation>
    </message>
    <message>
        <source>The list shows what is stored.</source>
        <translation>A lista mostra o que está gravado.</translation>
    </message>
    <message>
        <source>The stored appointments cannot be read either (%1); the list stays empty until they can be read.</source>
        <translation>As consultas gravadas também não podem ser lidas (%1); a lista fica vazia até que possam ser lidas.</translation>
    </message>
    <message>
        <source>Choose schedule belows or type one time</source>
        <translation>Escolha um horário abaixo ou digite um horário</translation>
    </message>
    <message>
        <source>Field Name cannot be empty</source>
        <translation>O campo Nome não pode ficar vazio</translation>
    </message>
    <message>
        <source>The appointment could not be stored, for this doctor nor for a linked one</source>
        <translation>A consulta não pôde ser gravada, nem para este profissional nem para o associado</translation>
    </message>
    <message>
        <source>The appointments of this day could not be read</source>
        <translation>As consultas deste dia não puderam ser lidas</translation>
    </message>
    <message>
        <source>Please choose the professional first</source>
        <translation>Escolha o profissional primeiro</translation>
    </message>
    <message>
        <source>The appointment could not be changed; it is stored as it was</source>
        <translation>A consulta não pôde ser alterada; ela continua gravada como estava</translation>
    </message>
    <message>
        <source>The appointment could not be removed; it is still stored</source>
        <translation>A consulta não pôde ser excluída; ela continua gravada</translation>
    </message>
    <message>
        <source>The appointment was stored, but it could not be copied to the linked doctor&apos;s book (%1): %2.</source>
        <translation>A consulta foi gravada, mas não pôde ser copiada para a agenda do profissional associado (%1): %2.</translation>
    </message>
    <message>
        <source>The doctor&apos;s slot length and linked book could not be read again: %1.</source>
        <translation>O intervalo do profissional e a agenda associada não puderam ser lidos novamente: %1.</translation>
    </message>
    <message>
        <source>No stored appointment of this day has the time and name of the one selected: it may have been changed or removed at another desk. Nothing was changed.</source>
        <translation>Nenhuma consulta gravada neste dia tem a hora e o nome da selecionada: ela pode ter sido alterada ou excluída em outro computador. Nada foi alterado.</translation>
    </message>
    <message>
        <source>No stored appointment of this day has the time and name in the fields: it may have been changed or removed at another desk. Nothing was removed.</source>
        <translation>Nenhuma consulta gravada neste dia tem a hora e o nome dos campos: ela pode ter sido alterada ou excluída em outro computador. Nada foi excluído.</translation>
    </message>
    <message>
        <source>The appointment is no longer stored as it was found: it may have been changed or removed at another desk. The list shows what is stored.</source>
        <translation>A consulta não está mais gravada como foi encontrada: pode ter sido alterada ou excluída em outro computador. A lista mostra o que está gravado.</translation>
    </message>
    <message>
        <source>%1 has no weekly hours: set them up first.</source>
        <translation>%1 não tem horário semanal: cadastre-o primeiro.</translation>
    </message>
    <message>
        <source>The appointments could not be read: %1.</source>
        <translation>Não foi possível ler as consultas: %1.</translation>
    </message>
    <message>
        <source>%1 has no free time within a year from %2.</source>
        <translation>%1 não tem horário livre no período de um ano a partir de %2.</translation>
    </message>
    <message>
        <source>The time %1 was booked meanwhile; the list shows the day as it is now.</source>
        <translation>O horário %1 foi ocupado nesse meio-tempo; a lista mostra o dia como está agora.</translation>
    </message>
    <message>
        <source>The selected appointment is no longer stored as listed: it may have been changed or removed at another desk. Its status was not set.</source>
        <translation>A consulta selecionada não está mais gravada como aparece na lista: ela pode ter sido alterada ou excluída em outro computador. A situação não foi alterada.</translation>
    </message>
    <message>
        <source>The selected appointment is no longer stored as listed: it may have been changed or removed at another desk.</source>
        <translation>A consulta selecionada não está mais gravada como aparece na lista: ela pode ter sido alterada ou excluída em outro computador.</translation>
    </message>
    <message>
        <source>The status could not be set; it stays as it was</source>
        <translation>Não foi possível alterar a situação; ela continua como estava</translation>
    </message>
    <message>
        <source>The history of the appointment could not be read: %1.</source>
        <translation>Não foi possível ler o histórico da consulta: %1.</translation>
    </message>
    <message>
        <source>The status could not be set; it stays as it was: %1.</source>
        <translation>Não foi possível alterar a situação; ela continua como estava: %1.</translation>
    </message>
    <message>
        <source>The history kept under this appointment&apos;s number tells of another appointment (the book was renumbered by another program): it is set aside, not shown.</source>
        <translation>O histórico guardado com o número desta consulta é de outra consulta (a agenda foi renumerada por outro programa): ele foi deixado de lado e não é mostrado.</translation>
    </message>
    <message>
        <source>The held appointment is no longer stored as it was held: it was changed, moved or removed at another desk. Nothing was moved.</source>
        <translation>A consulta retida não está mais gravada como foi retida: foi alterada, transferida ou excluída em outro computador. Nada foi transferido.</translation>
    </message>
    <message>
        <source>The appointment could not be held to be moved</source>
        <translation>Não foi possível reter a consulta para transferir</translation>
    </message>
    <message>
        <source>The appointment is held, but the held list could not be read</source>
        <translation>A consulta está retida, mas não foi possível ler a lista das retidas</translation>
    </message>
    <message>
        <source>Select a free time in the list, or type a time, to place the held appointment there.</source>
        <translation>Selecione um horário livre na lista, ou digite um horário, para colocar ali a consulta retida.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time: type it as HH:MM, for example 14:30.</source>
        <translation>&quot;%1&quot; não é um horário: digite como HH:MM, por exemplo 14:30.</translation>
    </message>
    <message>
        <source>Choose a held appointment first.</source>
        <translation>Escolha antes uma consulta retida.</translation>
    </message>
    <message>
        <source>The appointment is already at that time.</source>
        <translation>A consulta já está nesse horário.</translation>
    </message>
    <message>
        <source>%1 is taken on this day. Nothing was moved: choose a free time.</source>
        <translation>%1 está ocupado neste dia. Nada foi transferido: escolha um horário livre.</translation>
    </message>
    <message>
        <source>The clinic&apos;s calendar closes %1 on this day (%2). Nothing was moved.</source>
        <translation>O calendário da clínica fecha %1 neste dia (%2). Nada foi transferido.</translation>
    </message>
    <message>
        <source>The appointment could not be moved; it stays where it was</source>
        <translation>Não foi possível transferir a consulta; ela continua onde estava</translation>
    </message>
    <message>
        <source>The appointment was moved. Its copy in the linked doctor&apos;s book (%1) was changed or removed since it was made, and was left as it is.</source>
        <translation>A consulta foi transferida. A cópia na agenda do profissional vinculado (%1) foi alterada ou excluída depois de feita, e ficou como está.</translation>
    </message>
    <message>
        <source>The appointment could not be put back</source>
        <translation>Não foi possível devolver a consulta ao seu lugar</translation>
    </message>
    <message>
        <source>Type the patient&apos;s name first: each session of the series is booked for them.</source>
        <translation>Digite primeiro o nome do paciente: cada sessão da série é marcada para ele.</translation>
    </message>
    <message>
        <source>Every session of the series is skipped or in the way: nothing was booked.</source>
        <translation>Todas as sessões da série foram puladas ou estão impedidas: nada foi marcado.</translation>
    </message>
    <message>
        <source>The series could not be booked; none of its sessions was stored</source>
        <translation>Não foi possível marcar a série; nenhuma das sessões foi gravada</translation>
    </message>
    <message>
        <source>The series was booked, but it could not be copied to the linked doctor&apos;s book (%1): %2.</source>
        <translation>A série foi marcada, mas não pôde ser copiada para a agenda do médico vinculado (%1): %2.</translation>
    </message>
    <message>
        <source>The series could not be read; nothing was moved</source>
        <translation>Não foi possível ler a série; nada foi transferido</translation>
    </message>
    <message>
        <source>Nothing was moved: these sessions would not fit.
%1</source>
        <translation>Nada foi transferido: estas sessões não caberiam.
%1</translation>
    </message>
    <message>
        <source>A session of the series was changed, moved or removed at another desk. Nothing was moved.</source>
        <translation>Uma sessão da série foi alterada, transferida ou excluída em outro balcão. Nada foi transferido.</translation>
    </message>
    <message>
        <source>The series could not be moved; it stays where it was</source>
        <translation>Não foi possível transferir a série; ela continua onde estava</translation>
    </message>
    <message numerus="yes">
        <source>%n session(s) booked, from %1 to %2.</source>
        <translation>
            <numerusform>%n sessão marcada, de %1 a %2.</numerusform>
            <numerusform>%n sessões marcadas, de %1 a %2.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n session(s) moved.</source>
        <translation>
            <numerusform>%n sessão transferida.</numerusform>
            <numerusform>%n sessões transferidas.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BookingStatus</name>
    <message>
        <source>To confirm</source>
        <translation>A confirmar</translation>
    </message>
    <message>
        <source>Confirmed</source>
        <translation>Confirmada</translation>
    </message>
    <message>
        <source>Not reached</source>
        <translation>Sem contato</translation>
    </message>
    <message>
        <source>Cancelled by the patient</source>
        <translation>Desmarcada pelo paciente</translation>
    </message>
    <message>
        <source>Arrived</source>
        <translation>Compareceu</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Faltou</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Health plan</source>
        <translation>Convênio</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Observações</translation>
    </message>
    <message>
        <source>Booked</source>
        <translation>Marcada</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Alterada</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>Excluída</translation>
    </message>
    <message>
        <source>Status set</source>
        <translation>Situação alterada</translation>
    </message>
    <message>
        <source>%1 – %2 by %3 (computer %4)</source>
        <translation>%1 – %2 por %3 (computador %4)</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Situação</translation>
    </message>
    <message>
        <source>Moved</source>
        <translation>Transferida</translation>
    </message>
    <message>
        <source>Doctor&apos;s book</source>
        <translation>Agenda do profissional</translation>
    </message>
    <message>
        <source>Booked from the waiting list</source>
        <translation>Marcada da lista de espera</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>The appointment book of a small clinic.</source>
        <translation>A agenda de consultas de uma pequena clínica.</translation>
    </message>
    <message>
        <source>Show this help and end.</source>
        <translation>Mostra esta ajuda e termina.</translation>
    </message>
    <message>
        <source>Show the version and end.</source>
        <translation>Mostra a versão e termina.</translation>
    </message>
    <message>
        <source>The folder of the twelve files, which must exist; &quot;user&quot; for the user&apos;s own (%1), made on first use. Without it, the working folder.</source>
        <translation>A pasta dos doze arquivos, que precisa existir; &quot;user&quot; para a pasta do próprio usuário (%1), criada no primeiro uso. Sem ela, a pasta atual.</translation>
    </message>
    <message>
        <source>The language to speak: en or pt_BR. Without it, the system&apos;s.</source>
        <translation>O idioma do programa: en ou pt_BR. Sem ele, o do sistema.</translation>
    </message>
    <message>
        <source>Import the older program&apos;s files of the data folder, print the summary and end: 0 when all were imported, 1 when one could not be, 2 when there was nothing to import.</source>
        <translation>Importa os arquivos do programa antigo da pasta de dados, mostra o resumo e termina: 0 quando todos foram importados, 1 quando algum não pôde ser, 2 quando não havia nada a importar.</translation>
    </message>
    <message>
        <source>Put the backup of that day back (the program closed), keeping the current files aside.</source>
        <translation>Restaura a cópia de segurança daquele dia (com o programa fechado), guardando à parte os arquivos atuais.</translation>
    </message>
    <message>
        <source>Keep the books on this PostgreSQL server (postgresql://host:port/database) instead of the folder&apos;s files; without it, the one velmora.ini of the data folder names, if any.</source>
        <translation>Usa as agendas deste servidor PostgreSQL (postgresql://host:porta/banco) em vez dos arquivos da pasta; sem ele, o servidor indicado no velmora.ini da pasta de dados, se houver.</translation>
    </message>
    <message>
        <source>Copy the data folder&apos;s twelve files into an empty server database, print what was copied and end: 0 when done, 1 otherwise.</source>
        <translation>Copia os doze arquivos da pasta de dados para um banco vazio do servidor, mostra o que foi copiado e termina: 0 quando concluído, 1 caso contrário.</translation>
    </message>
    <message>
        <source>Write a server&apos;s books into the twelve files of a data folder without them, print what was copied and end: 0 when done, 1 otherwise.</source>
        <translation>Grava as agendas de um servidor nos doze arquivos de uma pasta de dados que não os tem, mostra o que foi copiado e termina: 0 quando concluído, 1 caso contrário.</translation>
    </message>
    <message>
        <source>Print every appointment, all doctors and dates, whose patient&apos;s name holds the text (accents, case and blanks ignored) or whose phones hold its digits, one a line: date, time, slot, doctor, name, health plan, phones, tab-separated, upcoming first. Exit 0 when something was found, 1 when nothing was, 2 on an error or a text too short.</source>
        <translation>Mostra cada consulta, de todos os profissionais e datas, cujo nome do paciente contém o texto (sem diferenciar acentos, maiúsculas e espaços) ou cujos telefones contêm os seus dígitos, uma por linha: data, hora, vaga, profissional, nome, convênio, telefones, separados por tabulação, as próximas primeiro. Termina com 0 quando algo foi encontrado, 1 quando nada foi, 2 em caso de erro ou texto curto demais.</translation>
    </message>
    <message>
        <source>Print the figures of the days FROM to TO (both YYYY-MM-DD, TO after the option&apos;s value): per doctor the free slots, bookings, occupancy and statuses, per health plan the bookings, &apos;;&apos;-separated; exit 0 when done, 2 otherwise.</source>
        <translation>Mostra os números dos dias DE a ATÉ (ambos AAAA-MM-DD, ATÉ depois do valor da opção): por profissional, os horários oferecidos, as consultas, a ocupação e as situações; por convênio, as consultas; separados por &apos;;&apos;. Termina com 0 quando concluído, 2 caso contrário.</translation>
    </message>
    <message>
        <source>With --report: write the figures to this spreadsheet file instead.</source>
        <translation>Com --report: grava os números nesta planilha em vez de mostrá-los.</translation>
    </message>
    <message>
        <source>Run once by the clinic&apos;s IT person as the database&apos;s owner (the address may be left out for the one --server or velmora.ini names): make the books on the server if absent and the role %1 with a desk&apos;s rights, print how to add a person and end: 0 when done, 1 otherwise.</source>
        <translation>Executado uma vez pelo técnico de informática da clínica, como dono do banco de dados (o endereço pode ser omitido quando --server ou o velmora.ini o indicam): cria as agendas no servidor, se não existirem, e o papel %1 com os direitos de uma recepção, mostra como cadastrar uma pessoa e termina: 0 quando concluído, 1 caso contrário.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argumento inesperado: %1</translation>
    </message>
    <message>
        <source>Only one of these at a time: %1</source>
        <translation>Só uma destas opções por vez: %1</translation>
    </message>
    <message>
        <source>--%1 needs a value: %2</source>
        <translation>--%1 precisa de um valor: %2</translation>
    </message>
    <message>
        <source>--restore-backup needs a day written YYYY-MM-DD, not &quot;%1&quot;</source>
        <translation>--restore-backup precisa de um dia no formato AAAA-MM-DD, não &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--report needs two days written YYYY-MM-DD, the second not before the first: %1 %2</source>
        <translation>--report precisa de dois dias no formato AAAA-MM-DD, o segundo igual ou posterior ao primeiro: %1 %2</translation>
    </message>
    <message>
        <source>--csv goes with --report</source>
        <translation>--csv só pode ser usado com --report</translation>
    </message>
    <message>
        <source>The languages are en and pt_BR, not &quot;%1&quot;</source>
        <translation>Os idiomas são en e pt_BR, não &quot;%1&quot;</translation>
    </message>
    <message>
        <source>The data folder &quot;%1&quot; does not exist: name a folder that does, or make it first.</source>
        <translation>A pasta de dados &quot;%1&quot; não existe: indique uma pasta que exista ou crie-a primeiro.</translation>
    </message>
    <message>
        <source>The data folder &quot;%1&quot; is not a folder.</source>
        <translation>A pasta de dados &quot;%1&quot; não é uma pasta.</translation>
    </message>
    <message>
        <source>The data folder &quot;%1&quot; cannot be opened: %2.</source>
        <translation>A pasta de dados &quot;%1&quot; não pode ser aberta: %2.</translation>
    </message>
    <message>
        <source>DIR</source>
        <translation>PASTA</translation>
    </message>
    <message>
        <source>LANGUAGE</source>
        <translation>IDIOMA</translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <translation>AAAA-MM-DD</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXTO</translation>
    </message>
    <message>
        <source>FROM</source>
        <translation>DE</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ARQUIVO</translation>
    </message>
    <message>
        <source>The server&apos;s address on the command line holds a password, which every user of this computer can see in the list of programs running. Put it in ~/.pgpass instead (a line host:port:database:login:password, readable by you alone) and leave it out of the address.</source>
        <translation>O endereço do servidor na linha de comando contém uma senha, que qualquer usuário deste computador vê na lista de programas em execução. Coloque-a em ~/.pgpass (uma linha host:porta:banco:login:senha, legível só por você) e tire-a do endereço.</translation>
    </message>
    <message>
        <source>With --report --csv: write over a file of that name that is there already.</source>
        <translation>Com --report --csv: grava por cima de um arquivo com esse nome que já exista.</translation>
    </message>
    <message>
        <source>Print the clinic&apos;s day: for each doctor, each row of that doctor&apos;s day list in its order, tab-separated: time, slot, doctor, state (free, booked, no-hours), patient, health plan, phones, status. Exit 0 when done, 2 on a bad date or slot or an error.</source>
        <translation>Mostra o dia da clínica: para cada profissional, cada linha da sua lista do dia, na ordem dela, separada por tabulações: hora, vaga, profissional, estado (free, booked, no-hours), paciente, convênio, telefones, situação. Termina com 0 quando concluído, 2 com uma data ou vaga inválida ou um erro.</translation>
    </message>
    <message>
        <source>With --day: that doctor&apos;s slot (1 to 10) alone.</source>
        <translation>Com --day: só a vaga desse profissional (1 a 10).</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>--day needs a day that exists, written YYYY-MM-DD, not &quot;%1&quot;</source>
        <translation>--day precisa de uma data que exista, no formato AAAA-MM-DD, e não &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--doctor needs a slot from 1 to 10, not &quot;%1&quot;</source>
        <translation>--doctor precisa de uma vaga de 1 a 10, e não &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--doctor goes with --day</source>
        <translation>--doctor acompanha --day</translation>
    </message>
    <message>
        <source>Print the year&apos;s holidays, optional days, closures and extra days in date order, tab-separated: date, end date, slot (1 to 10) or clinic, kind (holiday, optional, closure, extra, opening), reason, times. Exit 0 when done, 2 on a year outside 1900-2200 or an error.</source>
        <translation>Imprime os feriados, dias facultativos, bloqueios e dias extras do ano em ordem de data, separados por tabulação: data, data final, vaga (1 a 10) ou clinic, tipo (holiday, optional, closure, extra, opening), motivo, horários. Termina com 0 quando concluído, 2 com um ano fora de 1900-2200 ou um erro.</translation>
    </message>
    <message>
        <source>YEAR</source>
        <translation>ANO</translation>
    </message>
    <message>
        <source>--calendar needs a year from 1900 to 2200, not &quot;%1&quot;</source>
        <translation>--calendar precisa de um ano de 1900 a 2200, não &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>Confirmation</name>
    <message>
        <source>Hello, {first_name}! We need to reschedule your appointment with {doctor} on {weekday}, {date}, at {time}: we will be closed then. Please reply with the days and times that suit you.
{clinic}</source>
        <translation>Olá, {primeiro_nome}! Precisamos remarcar sua consulta com {medico}: {dia_da_semana}, {data}, às {hora}, pois estaremos fechados. Responda com os dias e horários que ficam bons para você.
{clinica}</translation>
    </message>
    <message>
        <source>Hello, {first_name}! This is a reminder of your appointment with {doctor} on {weekday}, {date}, at {time}. Please reply YES to confirm, or tell us if you cannot come.
{clinic}</source>
        <translation>Olá, {primeiro_nome}! Lembrete da sua consulta com {medico}: {dia_da_semana}, {data}, às {hora}. Responda SIM para confirmar ou avise se não puder comparecer.
{clinica}</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>Paciente</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>Health plan</source>
        <translation>Convênio</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Situação</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message numerus="yes">
        <source>%n appointment(s)</source>
        <translation>
            <numerusform>%n consulta</numerusform>
            <numerusform>%n consultas</numerusform>
        </translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be made</source>
        <translation>a pasta &quot;%1&quot; não pode ser criada</translation>
    </message>
    <message>
        <source>the original could not be kept in &quot;%1&quot;</source>
        <translation>o original não pôde ser guardado em &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the reader of the older program&apos;s files could not be started (%1)</source>
        <translation>o leitor dos arquivos do programa antigo não pôde ser iniciado (%1)</translation>
    </message>
    <message>
        <source>the reader stopped unexpectedly on the file, which is damaged</source>
        <translation>o leitor parou inesperadamente no arquivo, que está danificado</translation>
    </message>
    <message>
        <source>only %1 of its %2 rows could be read; the file is damaged</source>
        <translation>só %1 dos seus %2 registros puderam ser lidos; o arquivo está danificado</translation>
    </message>
    <message>
        <source>the file cannot be read (%1)</source>
        <translation>o arquivo não pode ser lido (%1)</translation>
    </message>
    <message>
        <source>the reader ended with code %1</source>
        <translation>o leitor terminou com o código %1</translation>
    </message>
    <message>
        <source>Not imported, left as they are:</source>
        <translation>Não importados, deixados como estão:</translation>
    </message>
    <message>
        <source>Fields the program does not use, left out: %1.</source>
        <translation>Campos que o programa não usa e que não foram importados: %1.</translation>
    </message>
    <message>
        <source>The originals are kept unchanged in the folder &quot;%1&quot;.</source>
        <translation>Os originais estão guardados sem alteração na pasta &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1 held no settings record; it was imported as a new file holds them.</source>
        <translation>%1 não tinha o registro do cadastro; foi importado com um cadastro em branco, como o de um arquivo novo.</translation>
    </message>
    <message>
        <source>The import was cancelled; the files not yet finished were left as they are.</source>
        <translation>A importação foi cancelada; os arquivos ainda não terminados foram deixados como estão.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link; the originals are kept only in a folder of the data folder&apos;s own</source>
        <translation>&quot;%1&quot; é um atalho; os originais só são guardados numa pasta que seja da própria pasta de dados</translation>
    </message>
    <message>
        <source>the reader gave no answer within %1 seconds</source>
        <translation>o leitor não respondeu em %1 segundos</translation>
    </message>
    <message>
        <source>its table has no field %1, which the program needs</source>
        <translation>a tabela não tem o campo %1, de que o programa precisa</translation>
    </message>
    <message numerus="yes">
        <source>Imported: %n file(s) of the older program, with %1.</source>
        <translation>
            <numerusform>Importado: %n arquivo do programa antigo, com %1.</numerusform>
            <numerusform>Importados: %n arquivos do programa antigo, com %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Texts longer than the reader can read (1 MiB), cut there: %n.</source>
        <translation>
            <numerusform>%n texto era maior do que o leitor consegue ler (1 MiB) e foi cortado nesse ponto.</numerusform>
            <numerusform>%n textos eram maiores do que o leitor consegue ler (1 MiB) e foram cortados nesse ponto.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Appointments dated with a time of day: %n; the date was kept, the time of day left out.</source>
        <translation>
            <numerusform>%n consulta tinha a data gravada junto com um horário; a data foi mantida e esse horário, descartado.</numerusform>
            <numerusform>%n consultas tinham a data gravada junto com um horário; a data foi mantida e esse horário, descartado.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: not a file (a pipe, a folder or a device); left as it is</source>
        <translation>%1: não é um arquivo (um pipe, uma pasta ou um dispositivo); deixado como está</translation>
    </message>
    <message>
        <source>The older program names the clinic &quot;%1&quot;; the name already set, &quot;%2&quot;, was kept for the confirmation messages.</source>
        <translation>O programa antigo chama a clínica de &quot;%1&quot;; o nome já definido, &quot;%2&quot;, foi mantido nas mensagens de confirmação.</translation>
    </message>
    <message>
        <source>The clinic&apos;s name, &quot;%1&quot;, was taken for the confirmation messages.</source>
        <translation>O nome da clínica, &quot;%1&quot;, foi usado nas mensagens de confirmação.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Choose the doctor</source>
        <translation>Escolha o profissional</translation>
    </message>
    <message>
        <source>Some of the program&apos;s files cannot be used:

%1</source>
        <translation>Alguns arquivos do programa não podem ser usados:

%1</translation>
    </message>
    <message>
        <source>The list could not be printed: %1.

Save the same pages as a PDF file instead?</source>
        <translation>A lista não pôde ser impressa: %1.

Salvar as mesmas páginas como arquivo PDF?</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Arquivos PDF (*.pdf)</translation>
    </message>
    <message>
        <source>The PDF file could not be written: %1.</source>
        <translation>O arquivo PDF não pôde ser gravado: %1.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Health Plan</source>
        <translation>Convênio</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>Obs.</source>
        <translation>Obs.</translation>
    </message>
    <message>
        <source>+ day</source>
        <translation>+ dia</translation>
    </message>
    <message>
        <source>+ week</source>
        <translation>+ semana</translation>
    </message>
    <message>
        <source>+ month</source>
        <translation>+ mês</translation>
    </message>
    <message>
        <source>- day</source>
        <translation>- dia</translation>
    </message>
    <message>
        <source>- week</source>
        <translation>- semana</translation>
    </message>
    <message>
        <source>- month</source>
        <translation>- mês</translation>
    </message>
    <message>
        <source>Click to access our homepage</source>
        <translation>Clique para acessar nossa página</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Incluir</translation>
    </message>
    <message>
        <source>Add schedule</source>
        <translation>Incluir consulta</translation>
    </message>
    <message>
        <source>&amp;Change</source>
        <translation>&amp;Alterar</translation>
    </message>
    <message>
        <source>Change schedule</source>
        <translation>Alterar consulta</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>E&amp;xcluir</translation>
    </message>
    <message>
        <source>Remove  schedule</source>
        <translation>Excluir consulta</translation>
    </message>
    <message>
        <source>Change date</source>
        <translation>Mudar data</translation>
    </message>
    <message>
        <source>Click to choose the professional</source>
        <translation>Clique para escolher o profissional</translation>
    </message>
    <message>
        <source>&amp;TODAY</source>
        <translation>&amp;HOJE</translation>
    </message>
    <message>
        <source>&amp;Setup Doctors Details</source>
        <translation>&amp;Cadastros</translation>
    </message>
    <message>
        <source>&amp;Print list</source>
        <translation>Im&amp;primir</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>Velmora&apos;s homepage</source>
        <translation>Página do Velmora</translation>
    </message>
    <message>
        <source>Day list</source>
        <translation>Lista do dia</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>No doctor is set up yet. Press &quot;Setup Doctors Details&quot; to give each doctor a name, a slot length and weekly hours; then choose the doctor in the list below this one.</source>
        <translation>Nenhum profissional cadastrado ainda. Clique em &quot;Cadastros&quot; para informar o nome, a duração da consulta e o horário semanal de cada um; depois escolha o profissional na lista abaixo desta.</translation>
    </message>
    <message>
        <source>History...</source>
        <translation>Histórico...</translation>
    </message>
    <message>
        <source>This appointment has no history: it was booked before the program kept one.</source>
        <translation>Esta consulta não tem histórico: foi marcada antes de o programa registrar um.</translation>
    </message>
    <message>
        <source>History of the appointment:

%1</source>
        <translation>Histórico da consulta:

%1</translation>
    </message>
    <message>
        <source>not hearing the other desks: each Add reads the day again first</source>
        <translation>sem ouvir os outros balcões: cada inclusão lê o dia de novo antes</translation>
    </message>
    <message>
        <source>Mo&amp;ve</source>
        <translation>Trans&amp;ferir</translation>
    </message>
    <message>
        <source>Wants an &amp;earlier time...</source>
        <translation>Quer um horário &amp;antes...</translation>
    </message>
</context>
<context>
    <name>MonthReport</name>
    <message>
        <source>no plan</source>
        <translation>sem convênio</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Até</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>Free slots offered</source>
        <translation>Horários oferecidos</translation>
    </message>
    <message>
        <source>Bookings</source>
        <translation>Consultas</translation>
    </message>
    <message>
        <source>Occupancy (%)</source>
        <translation>Ocupação (%)</translation>
    </message>
    <message>
        <source>Confirmed</source>
        <translation>Confirmadas</translation>
    </message>
    <message>
        <source>Arrived</source>
        <translation>Compareceram</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Faltas</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Desmarcadas</translation>
    </message>
    <message>
        <source>Health plan</source>
        <translation>Convênio</translation>
    </message>
    <message>
        <source>Offered</source>
        <translation>Oferecidos</translation>
    </message>
    <message>
        <source>Booked</source>
        <translation>Marcadas</translation>
    </message>
    <message>
        <source>Occupancy</source>
        <translation>Ocupação</translation>
    </message>
    <message numerus="yes">
        <source>others (%n plan(s))</source>
        <translation>
            <numerusform>outros (%n convênio)</numerusform>
            <numerusform>outros (%n convênios)</numerusform>
        </translation>
    </message>
    <message>
        <source>Squeeze-ins</source>
        <translation>Encaixes</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>the printer could not start the document</source>
        <translation>a impressora não pôde iniciar o documento</translation>
    </message>
    <message>
        <source>the printer stopped in the middle of the document</source>
        <translation>a impressora parou no meio do documento</translation>
    </message>
    <message>
        <source>no default printer is set up on this computer</source>
        <translation>nenhuma impressora padrão está configurada neste computador</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot; is stopped</source>
        <translation>a impressora &quot;%1&quot; está parada</translation>
    </message>
    <message>
        <source>the printer &quot;%1&quot; reported an error</source>
        <translation>a impressora &quot;%1&quot; informou um erro</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written</source>
        <translation>&quot;%1&quot; não pôde ser gravado</translation>
    </message>
</context>
<context>
    <name>ServerBackup</name>
    <message>
        <source>there is no backup &quot;%1&quot;</source>
        <translation>não existe a cópia de segurança &quot;%1&quot;</translation>
    </message>
    <message>
        <source>pg_restore is not installed (Debian&apos;s package postgresql-client)</source>
        <translation>o pg_restore não está instalado (pacote postgresql-client do Debian)</translation>
    </message>
    <message>
        <source>the database is not empty; a backup is put back only into an empty one</source>
        <translation>o banco de dados não está vazio; uma cópia de segurança só é restaurada num banco vazio</translation>
    </message>
    <message>
        <source>pg_restore failed, nothing was put back: %1</source>
        <translation>o pg_restore falhou, nada foi restaurado: %1</translation>
    </message>
    <message>
        <source>The backup %1 was put back into %2. Run velmora --server-setup on it to give the desks their rights again.</source>
        <translation>A cópia de segurança %1 foi restaurada em %2. Execute velmora --server-setup nele para dar de novo os direitos às recepções.</translation>
    </message>
</context>
<context>
    <name>SetupWindow</name>
    <message>
        <source>Mon:</source>
        <translation>Seg:</translation>
    </message>
    <message>
        <source>Tue:</source>
        <translation>Ter:</translation>
    </message>
    <message>
        <source>Wed:</source>
        <translation>Qua:</translation>
    </message>
    <message>
        <source>Thu:</source>
        <translation>Qui:</translation>
    </message>
    <message>
        <source>Fri:</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>Sat:</source>
        <translation>Sáb:</translation>
    </message>
    <message>
        <source>Sun:</source>
        <translation>Dom:</translation>
    </message>
    <message>
        <source>Setup professional</source>
        <translation>Cadastro de profissionais</translation>
    </message>
    <message>
        <source>Save and &amp;Return</source>
        <translation>Salvar e &amp;voltar</translation>
    </message>
    <message>
        <source>Professional %1</source>
        <translation>Profissional %1</translation>
    </message>
    <message>
        <source>Doctor:</source>
        <translation>Nome:</translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation>Intervalo:</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Horários</translation>
    </message>
    <message>
        <source>Doctor&apos;s Schedule</source>
        <translation>Horário do profissional</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>Use this model.   08:00  to 10:40</source>
        <translation>Use este modelo.   08:00  a 10:40</translation>
    </message>
    <message>
        <source>OBS: Leave blank, in case of no consultation.</source>
        <translation>OBS: Deixe em branco se não houver consulta.</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>The doctors&apos; settings could not be read: %1.</source>
        <translation>O cadastro dos profissionais não pôde ser lido: %1.</translation>
    </message>
    <message>
        <source>The settings were not saved: %1.

Nothing was changed; what you typed is still here.</source>
        <translation>O cadastro não foi salvo: %1.

Nada foi alterado; o que você digitou continua aqui.</translation>
    </message>
    <message>
        <source>The weekly hours could not be read: %1.</source>
        <translation>Os horários da semana não puderam ser lidos: %1.</translation>
    </message>
    <message>
        <source> - Configuration of schedule</source>
        <translation> - Configuração de horários</translation>
    </message>
    <message>
        <source>The weekly hours were not saved: %1.

Nothing was changed; what you typed is still here.</source>
        <translation>Os horários da semana não foram salvos: %1.

Nada foi alterado; o que você digitou continua aqui.</translation>
    </message>
    <message>
        <source>%1, start of the first period</source>
        <translation>%1, início do primeiro período</translation>
    </message>
    <message>
        <source>%1, end of the first period</source>
        <translation>%1, fim do primeiro período</translation>
    </message>
    <message>
        <source>%1, start of the second period</source>
        <translation>%1, início do segundo período</translation>
    </message>
    <message>
        <source>%1, end of the second period</source>
        <translation>%1, fim do segundo período</translation>
    </message>
    <message>
        <source>Name of professional %1</source>
        <translation>Nome do profissional %1</translation>
    </message>
    <message>
        <source>%1 minutes for professional %2</source>
        <translation>%1 minutos para o profissional %2</translation>
    </message>
    <message>
        <source>Schedule of professional %1</source>
        <translation>Horários do profissional %1</translation>
    </message>
    <message>
        <source>Save over them</source>
        <translation>Substituir</translation>
    </message>
    <message>
        <source>Do not save</source>
        <translation>Não salvar</translation>
    </message>
    <message>
        <source>The doctors&apos; settings were saved at another desk since this window was opened. Save yours over them?

Without saving, what you typed is dropped and the window shows theirs.</source>
        <translation>O cadastro dos profissionais foi salvo em outro computador depois que esta janela foi aberta. Salvar o seu no lugar dele?

Sem salvar, o que você digitou é descartado e a janela mostra o cadastro salvo.</translation>
    </message>
    <message>
        <source>The clinic&apos;s ca&amp;lendar</source>
        <translation>Calendá&amp;rio da clínica</translation>
    </message>
    <message>
        <source>S&amp;queeze-ins per day</source>
        <translation>&amp;Encaixes por dia</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message numerus="yes">
        <source>%n doctor(s)</source>
        <translation>
            <numerusform>%n profissional</numerusform>
            <numerusform>%n profissionais</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n appointment(s)</source>
        <translation>
            <numerusform>%n consulta</numerusform>
            <numerusform>%n consultas</numerusform>
        </translation>
    </message>
    <message>
        <source>None of the books is in %1: run it in the data folder, or name the folder with --data-folder DIR.</source>
        <translation>Nenhuma das agendas está em %1: rode na pasta de dados, ou indique a pasta com --data-folder PASTA.</translation>
    </message>
    <message>
        <source>An entry of the clinic&apos;s calendar cannot be read, and its days are taken as open: %1</source>
        <translation>Um item do calendário da clínica não pode ser lido, e os dias dele são tratados como abertos: %1</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Agora não</translation>
    </message>
    <message>
        <source>Importing %1: %2 of %3 rows</source>
        <translation>Importando %1: %2 de %3 registros</translation>
    </message>
    <message>
        <source>These files are missing from the folder %1:

%2

Create them empty? The doctors or appointments they held will not be in them. Answer No to look for them first; the program works without them meanwhile.</source>
        <translation>Estes arquivos estão faltando na pasta %1:

%2

Criá-los vazios? Os profissionais ou consultas que continham não estarão neles. Responda Não para procurá-los primeiro; enquanto isso o programa funciona sem eles.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is missing; it was not created.</source>
        <translation>&quot;%1&quot; está faltando; não foi criado.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importar</translation>
    </message>
    <message>
        <source>Today&apos;s backup of the books could not be made: %1.

The program works on; the next start tries again.</source>
        <translation>A cópia de segurança de hoje não pôde ser feita: %1.

O programa continua funcionando; a próxima abertura tenta de novo.</translation>
    </message>
    <message>
        <source>The backup was not put back: %1.</source>
        <translation>A cópia de segurança não foi restaurada: %1.</translation>
    </message>
    <message>
        <source>Velmora does not use this server&apos;s database: %1.

Nothing was changed on the server.</source>
        <translation>O Velmora não usa o banco de dados deste servidor: %1.

Nada foi alterado no servidor.</translation>
    </message>
    <message>
        <source>The books cannot be reached now: %1.

The window opens; each action tries the server again.</source>
        <translation>Não foi possível acessar as agendas agora: %1.

A janela abre; cada ação tenta o servidor de novo.</translation>
    </message>
    <message>
        <source>the computer &quot;%1&quot;, since %2</source>
        <translation>no computador &quot;%1&quot;, desde %2</translation>
    </message>
    <message>
        <source>Velmora is already open on this folder. Use the window that is open, or close it first.

Folder: %1</source>
        <translation>O Velmora já está aberto nesta pasta. Use a janela que está aberta ou feche-a primeiro.

Pasta: %1</translation>
    </message>
    <message>
        <source>Velmora is open on this folder at %1. Close it there first.

Folder: %2</source>
        <translation>O Velmora está aberto nesta pasta %1. Feche-o lá primeiro.

Pasta: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; in the folder is not a file (a folder, a link or a pipe), so Velmora cannot claim the folder. Remove it and start again.

Folder: %2</source>
        <translation>&quot;%1&quot; na pasta não é um arquivo (é uma pasta, um atalho ou um pipe), por isso o Velmora não consegue reservar a pasta. Apague-o e abra o programa de novo.

Pasta: %2</translation>
    </message>
    <message>
        <source>The data folder &quot;%1&quot; is not a folder.</source>
        <translation>A pasta de dados &quot;%1&quot; não é uma pasta.</translation>
    </message>
    <message>
        <source>Velmora cannot claim this folder for itself (its lock file cannot be written), so it does not open the files.

Folder: %1</source>
        <translation>O Velmora não consegue reservar esta pasta para si (não consegue gravar o arquivo velmora.lock), por isso não abre os arquivos.

Pasta: %1</translation>
    </message>
    <message>
        <source>Velmora is open on this folder at %1, or was left so there by a crash or a power cut.

Take the folder over? Only if Velmora is closed on that computer: two programs working on the same files can lose bookings.</source>
        <translation>O Velmora está aberto nesta pasta %1, ou ficou assim depois de um travamento ou de uma queda de energia.

Assumir a pasta? Só se o Velmora estiver fechado naquele computador: dois programas trabalhando nos mesmos arquivos podem perder agendamentos.</translation>
    </message>
    <message>
        <source>Take it over</source>
        <translation>Assumir a pasta</translation>
    </message>
    <message>
        <source>Do not open</source>
        <translation>Não abrir</translation>
    </message>
    <message>
        <source>Yes, create them empty</source>
        <translation>Sim, criar vazios</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Type at least three letters of a name, or four digits of a phone.</source>
        <translation>Digite pelo menos três letras do nome ou quatro dígitos do telefone.</translation>
    </message>
    <message>
        <source>The books of %1 cannot be read: %2</source>
        <translation>Não foi possível ler as agendas de %1: %2</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>Não foi possível gravar %1: %2</translation>
    </message>
    <message>
        <source>Today&apos;s backup of the server&apos;s books could not be made: %1.

The program works on; the next start tries again.</source>
        <translation>Não foi possível fazer a cópia de segurança de hoje das agendas do servidor: %1.

O programa continua funcionando; a próxima abertura tenta de novo.</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) of the older program: %1 and the settings of %2. Import them? The originals are kept unchanged in the folder legacy.</source>
        <translation>
            <numerusform>%n arquivo do programa antigo: %1 e o cadastro de %2. Importá-lo? O original fica guardado, sem alteração, na pasta &quot;legacy&quot;.</numerusform>
            <numerusform>%n arquivos do programa antigo: %1 e o cadastro de %2. Importá-los? Os originais ficam guardados, sem alteração, na pasta &quot;legacy&quot;.</numerusform>
        </translation>
    </message>
    <message>
        <source>No files of the older program in %1.</source>
        <translation>Nenhum arquivo do programa antigo em %1.</translation>
    </message>
    <message>
        <source>The books went straight onto the server %1.</source>
        <translation>As agendas foram gravadas direto no servidor %1.</translation>
    </message>
    <message>
        <source>connection to the server not encrypted</source>
        <translation>conexão com o servidor sem criptografia</translation>
    </message>
    <message>
        <source>Name the server: velmora --server-setup postgresql://OWNER@HOST/DATABASE, or put it in velmora.ini.</source>
        <translation>Indique o servidor: velmora --server-setup postgresql://DONO@SERVIDOR/BANCO, ou coloque-o no velmora.ini.</translation>
    </message>
    <message>
        <source>%1 is a link; the report is written only to a file of its own name</source>
        <translation>%1 é um link; o relatório só é gravado num arquivo com nome próprio</translation>
    </message>
    <message>
        <source>%1 is not a file</source>
        <translation>%1 não é um arquivo</translation>
    </message>
    <message>
        <source>%1 is one of the program&apos;s own files</source>
        <translation>%1 é um dos arquivos do próprio programa</translation>
    </message>
    <message>
        <source>%1 is there already; give another name, or --force to write over it</source>
        <translation>%1 já existe; dê outro nome, ou use --force para gravar por cima</translation>
    </message>
    <message>
        <source>The report was not written: %1.</source>
        <translation>O relatório não foi gravado: %1.</translation>
    </message>
    <message>
        <source>The report was written to %1.</source>
        <translation>O relatório foi gravado em %1.</translation>
    </message>
</context>
<context>
    <name>Storage</name>
    <message numerus="yes">
        <source>%n appointment(s) held to be moved are copied where they stand, no longer held: hold them again after the copy to move them.</source>
        <translation>
            <numerusform>%n consulta retida para transferir é copiada onde está, sem ficar retida: retenha-a de novo depois da cópia para transferi-la.</numerusform>
            <numerusform>%n consultas retidas para transferir são copiadas onde estão, sem ficar retidas: retenha-as de novo depois da cópia para transferi-las.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 was booked meanwhile, for %2: choose another time</source>
        <translation>%1 foi marcado nesse meio-tempo, para %2: escolha outro horário</translation>
    </message>
    <message>
        <source>its journal cannot be switched to the mode that keeps both books together</source>
        <translation>não foi possível preparar o arquivo para gravar as duas agendas de uma só vez</translation>
    </message>
    <message>
        <source>its appointment table is missing or incomplete</source>
        <translation>sua tabela de consultas está faltando ou incompleta</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be used: %2</source>
        <translation>&quot;%1&quot; não pode ser usado: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation>&quot;%1&quot; não pôde ser gravado: %2</translation>
    </message>
    <message>
        <source>the appointment is no longer stored</source>
        <translation>a consulta não está mais gravada</translation>
    </message>
    <message>
        <source>its journal cannot be switched from write-ahead logging</source>
        <translation>o arquivo está num modo de gravação que o programa não consegue desfazer</translation>
    </message>
    <message>
        <source>the finished file could not be renamed</source>
        <translation>o arquivo pronto não pôde ser renomeado</translation>
    </message>
    <message>
        <source>the table &quot;%1&quot; is missing</source>
        <translation>a tabela &quot;%1&quot; está faltando</translation>
    </message>
    <message>
        <source>the field &quot;%1&quot; is missing from the table &quot;%2&quot;</source>
        <translation>o campo &quot;%1&quot; está faltando na tabela &quot;%2&quot;</translation>
    </message>
    <message>
        <source>the table &quot;profs&quot; holds no settings record</source>
        <translation>a tabela &quot;profs&quot; não tem registro de cadastro</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>erro desconhecido</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>o arquivo não existe</translation>
    </message>
    <message>
        <source>the file cannot be read (%1)</source>
        <translation>o arquivo não pode ser lido (%1)</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>o arquivo está vazio</translation>
    </message>
    <message>
        <source>the file is not a database in the format the program uses</source>
        <translation>o arquivo não é um banco de dados no formato que o programa usa</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be opened; none of the files can be used.</source>
        <translation>A pasta &quot;%1&quot; não pode ser aberta; nenhum dos arquivos pode ser usado.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be used: it is a link to &quot;%2&quot;, which is not there. Nothing was created.</source>
        <translation>&quot;%1&quot; não pode ser usado: é um atalho para &quot;%2&quot;, que não está lá. Nada foi criado.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be used: %2. The file was left as it is.</source>
        <translation>&quot;%1&quot; não pode ser usado: %2. O arquivo foi deixado como está.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be created: %2.</source>
        <translation>&quot;%1&quot; não pôde ser criado: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be opened: %2</source>
        <translation>&quot;%1&quot; não pode ser aberto: %2</translation>
    </message>
    <message>
        <source>no file is open</source>
        <translation>nenhum arquivo está aberto</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds no settings record</source>
        <translation>&quot;%1&quot; não tem registro de cadastro</translation>
    </message>
    <message>
        <source>the settings record was not found</source>
        <translation>o registro de cadastro não foi encontrado</translation>
    </message>
    <message>
        <source>%1 (in &quot;%2&quot;)</source>
        <translation>%1 (em &quot;%2&quot;)</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be made</source>
        <translation>a pasta &quot;%1&quot; não pode ser criada</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is held by another program</source>
        <translation>&quot;%1&quot; está sendo usado por outro programa</translation>
    </message>
    <message>
        <source>the finished backup could not be renamed</source>
        <translation>a cópia pronta não pôde ser renomeada</translation>
    </message>
    <message>
        <source>there is no backup of that day; there are backups of: %1</source>
        <translation>não há cópia de segurança desse dia; há cópias de: %1</translation>
    </message>
    <message>
        <source>the server&apos;s address cannot be read</source>
        <translation>o endereço do servidor não pode ser lido</translation>
    </message>
    <message>
        <source>PostgreSQL&apos;s client library cannot be loaded (%1)</source>
        <translation>a biblioteca cliente do PostgreSQL não pode ser carregada (%1)</translation>
    </message>
    <message>
        <source>the server %1: %2</source>
        <translation>o servidor %1: %2</translation>
    </message>
    <message>
        <source>the PostgreSQL driver of Qt is not installed</source>
        <translation>o componente do Qt para PostgreSQL não está instalado (pacote libqt6sql6-psql)</translation>
    </message>
    <message>
        <source>there is no settings record</source>
        <translation>não há registro de cadastro</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n appointment(s) copied, every row checked</source>
        <translation>
            <numerusform>%1: %n consulta copiada, cada registro conferido</numerusform>
            <numerusform>%1: %n consultas copiadas, cada registro conferido</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder&apos;s files cannot be copied: %1</source>
        <translation>Os arquivos da pasta não podem ser copiados: %1</translation>
    </message>
    <message>
        <source>the database is not empty; the files are copied only into an empty one</source>
        <translation>o banco de dados não está vazio; os arquivos só são copiados para um vazio</translation>
    </message>
    <message>
        <source>%1: the settings record copied and checked</source>
        <translation>%1: o registro de cadastro copiado e conferido</translation>
    </message>
    <message>
        <source>Nothing was copied to %1: %2</source>
        <translation>Nada foi copiado para %1: %2</translation>
    </message>
    <message>
        <source>Copied to %1 in one transaction.</source>
        <translation>Copiado para %1 de uma só vez (tudo ou nada).</translation>
    </message>
    <message>
        <source>The folder already holds %1; the books are written only into a folder without them.</source>
        <translation>A pasta já tem %1; as agendas só são gravadas numa pasta sem eles.</translation>
    </message>
    <message>
        <source>Nothing was written from %1: %2</source>
        <translation>Nada foi gravado a partir de %1: %2</translation>
    </message>
    <message>
        <source>Written from %1.</source>
        <translation>Gravado a partir de %1.</translation>
    </message>
    <message>
        <source>its books lack %1</source>
        <translation>faltam nas suas agendas: %1</translation>
    </message>
    <message>
        <source>it holds tables that are not Velmora&apos;s books: %1</source>
        <translation>ele tem tabelas que não são agendas do Velmora: %1</translation>
    </message>
    <message>
        <source>the database is not Velmora&apos;s: %1</source>
        <translation>o banco de dados não é do Velmora: %1</translation>
    </message>
    <message>
        <source>it holds no settings record</source>
        <translation>ele não tem registro de cadastro</translation>
    </message>
    <message>
        <source>(an address that cannot be read)</source>
        <translation>(endereço ilegível)</translation>
    </message>
    <message>
        <source>it has not answered yet; it is tried again shortly</source>
        <translation>ele ainda não respondeu; uma nova tentativa é feita em instantes</translation>
    </message>
    <message>
        <source>it did not answer within %1 seconds</source>
        <translation>ele não respondeu em %1 segundos</translation>
    </message>
    <message>
        <source>it is a link or not a file</source>
        <translation>é um atalho ou não é um arquivo</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>está danificado</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link; backups are made only in a folder</source>
        <translation>&quot;%1&quot; é um atalho; as cópias de segurança só são feitas numa pasta de verdade</translation>
    </message>
    <message>
        <source>A restore of a backup was interrupted and cannot be finished: &quot;%1&quot; could not be put in place. The backup&apos;s files are in &quot;%2&quot;, the ones they replace in &quot;%3&quot;.</source>
        <translation>Uma restauração de cópia de segurança foi interrompida e não pôde ser concluída: não foi possível colocar &quot;%1&quot; no lugar. Os arquivos da cópia estão em &quot;%2&quot;; os que eles substituem, em &quot;%3&quot;.</translation>
    </message>
    <message>
        <source>A restore of a backup was interrupted; it was finished now. The files it replaced are in &quot;%1&quot;.</source>
        <translation>Uma restauração de cópia de segurança tinha sido interrompida e foi concluída agora. Os arquivos substituídos estão em &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>nothing in the folder was changed</source>
        <translation>nada na pasta foi alterado</translation>
    </message>
    <message>
        <source>the backup&apos;s &quot;%1&quot; cannot be used (%2); %3</source>
        <translation>o arquivo &quot;%1&quot; da cópia não pode ser usado (%2); %3</translation>
    </message>
    <message>
        <source>the folders for the restore cannot be made in &quot;%1&quot;; %2</source>
        <translation>as pastas para a restauração não podem ser criadas em &quot;%1&quot;; %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be copied (is the disk full?); %2</source>
        <translation>não foi possível copiar &quot;%1&quot; (o disco está cheio?); %2</translation>
    </message>
    <message>
        <source>the restore could not be recorded (is the disk full?); %1</source>
        <translation>não foi possível registrar a restauração (o disco está cheio?); %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be put in place; %2</source>
        <translation>não foi possível colocar &quot;%1&quot; no lugar; %2</translation>
    </message>
    <message>
        <source>it is not a file but a folder, a pipe or a device</source>
        <translation>não é um arquivo, e sim uma pasta, um pipe ou um dispositivo</translation>
    </message>
    <message>
        <source>the clinic&apos;s root certificate is not on this computer; copy it to ~/.postgresql/root.crt or name it in velmora.ini (root_certificate=)</source>
        <translation>o certificado raiz da clínica não está neste computador; copie-o para ~/.postgresql/root.crt ou indique-o no velmora.ini (root_certificate=)</translation>
    </message>
    <message>
        <source>the server&apos;s certificate is made out to another name than the address used; use the name the certificate gives</source>
        <translation>o certificado do servidor foi emitido para outro nome que não o do endereço usado; use o nome que está no certificado</translation>
    </message>
    <message>
        <source>the server&apos;s certificate has expired; the clinic&apos;s IT person must renew it</source>
        <translation>o certificado do servidor venceu; o técnico de informática da clínica precisa renová-lo</translation>
    </message>
    <message>
        <source>the server accepts only encrypted connections; take sslmode=disable out of the address</source>
        <translation>o servidor só aceita conexões criptografadas; tire sslmode=disable do endereço</translation>
    </message>
    <message>
        <source>your login lacks the right to this; the clinic&apos;s IT person gives a desk&apos;s rights with velmora --server-setup</source>
        <translation>o seu usuário não tem direito a isto; o técnico de informática da clínica dá os direitos de recepção com velmora --server-setup</translation>
    </message>
    <message>
        <source>nothing answers at that address and port: the server is not running, or does not listen there (listen_addresses and port in postgresql.conf, as the README shows)</source>
        <translation>nada responde nesse endereço e porta: o servidor não está ligado ou não escuta ali (listen_addresses e port no postgresql.conf, como mostra o README)</translation>
    </message>
    <message>
        <source>the server does not let this computer in: the clinic&apos;s IT person adds its network to pg_hba.conf in a hostssl line, as the README shows</source>
        <translation>o servidor não deixa este computador entrar: o responsável pela informática da clínica inclui a rede dele no pg_hba.conf numa linha hostssl, como mostra o README</translation>
    </message>
    <message>
        <source>the login or its password is wrong</source>
        <translation>usuário ou senha incorretos</translation>
    </message>
    <message>
        <source>this computer does not know the server&apos;s name: check the address</source>
        <translation>este computador não conhece o nome do servidor: confira o endereço</translation>
    </message>
    <message>
        <source>the server has no such login: the clinic&apos;s IT person adds the person as velmora --server-setup printed</source>
        <translation>o servidor não tem esse usuário: o responsável pela informática da clínica cadastra a pessoa como o velmora --server-setup mostrou</translation>
    </message>
    <message>
        <source>the server has no database of that name: check the name at the end of the address</source>
        <translation>o servidor não tem banco de dados com esse nome: confira o nome no fim do endereço</translation>
    </message>
    <message>
        <source>The books are ready, and the role %1 gives a desk&apos;s rights on them and nothing else.</source>
        <translation>As agendas estão prontas, e o papel %1 dá os direitos de uma recepção sobre elas e nada mais.</translation>
    </message>
    <message>
        <source>Add each person who works at a desk (sudo -u postgres psql %1):</source>
        <translation>Cadastre cada pessoa que trabalha na recepção (sudo -u postgres psql %1):</translation>
    </message>
    <message>
        <source>and let them connect only encrypted from the clinic&apos;s network, in pg_hba.conf, before its host lines (then reload the server):</source>
        <translation>e deixe que se conectem só com criptografia, a partir da rede da clínica, no pg_hba.conf, antes das linhas host dele (depois recarregue o servidor):</translation>
    </message>
    <message>
        <source>(the network of this computer; widen it if desks sit on others)</source>
        <translation>(a rede deste computador; amplie-a se houver recepções em outras redes)</translation>
    </message>
    <message>
        <source>(write the clinic&apos;s network in place of %1: this computer reached the server from itself, so the network is not known here)</source>
        <translation>(escreva a rede da clínica no lugar de %1: este computador acessou o servidor por ele mesmo, então a rede não é conhecida aqui)</translation>
    </message>
    <message>
        <source>the server&apos;s certificate could not be verified against the clinic&apos;s root certificate (signed by another, or expired): it may not be the clinic&apos;s server</source>
        <translation>não foi possível verificar o certificado do servidor com o certificado raiz da clínica (foi assinado por outro ou venceu): talvez não seja o servidor da clínica</translation>
    </message>
    <message>
        <source>it already holds appointments</source>
        <translation>já contém agendamentos</translation>
    </message>
    <message>
        <source>it holds %1 appointments of the %2 written</source>
        <translation>contém %1 agendamentos dos %2 gravados</translation>
    </message>
    <message>
        <source>the folder could not be synced</source>
        <translation>a pasta não pôde ser gravada no disco</translation>
    </message>
    <message>
        <source>the connection was lost; nothing was written</source>
        <translation>a conexão caiu; nada foi gravado</translation>
    </message>
    <message>
        <source>&quot;%1&quot; differs from its source after the copy</source>
        <translation>&quot;%1&quot; ficou diferente da origem depois da cópia</translation>
    </message>
    <message>
        <source>the settings record differs from its source after the copy</source>
        <translation>o registro de configurações ficou diferente da origem depois da cópia</translation>
    </message>
    <message>
        <source>the server offers no encrypted connection; the clinic&apos;s IT person must turn on ssl on the server as the README shows</source>
        <translation>o servidor não oferece conexão criptografada; o responsável pela informática da clínica precisa ativar o ssl no servidor como mostra o README</translation>
    </message>
    <message>
        <source>the address asks for a connection that is not encrypted and verified (sslmode=%1), which is refused for a server on another computer: the clinic&apos;s IT person turns on encryption on the server as the README shows</source>
        <translation>o endereço pede uma conexão sem criptografia verificada (sslmode=%1), o que é recusado para um servidor em outro computador: o responsável pela informática da clínica ativa a criptografia no servidor como mostra o README</translation>
    </message>
    <message>
        <source>another connection holds the book (a desk in the middle of a change, or a tool working on the server); try again in a moment, and if it lasts, the clinic&apos;s IT person finds the holder in pg_stat_activity</source>
        <translation>outra conexão está segurando a agenda (um balcão no meio de uma alteração, ou uma ferramenta trabalhando no servidor); tente de novo em instantes e, se continuar, o responsável pela informática encontra quem a segura em pg_stat_activity</translation>
    </message>
    <message>
        <source>the database holds no books yet</source>
        <translation>o banco de dados ainda não tem nenhuma agenda</translation>
    </message>
    <message>
        <source>the login %1 is a desk&apos;s; run velmora --server-setup with the login that owns the database (%2)</source>
        <translation>o login %1 é de um computador da recepção; rode velmora --server-setup com o login dono do banco de dados (%2)</translation>
    </message>
    <message>
        <source>the login %1 does not own the database, %2 does; run velmora --server-setup with that login</source>
        <translation>o login %1 não é dono do banco de dados, %2 é; rode velmora --server-setup com esse login</translation>
    </message>
    <message>
        <source>the login %1 may not create the desks&apos; role; give it the right with: sudo -u postgres psql -c &apos;ALTER ROLE %1 CREATEROLE&apos;</source>
        <translation>o login %1 não pode criar o papel dos balcões; dê-lhe o direito com: sudo -u postgres psql -c &apos;ALTER ROLE %1 CREATEROLE&apos;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a file</source>
        <translation>&quot;%1&quot; não é um arquivo</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link</source>
        <translation>&quot;%1&quot; é um link</translation>
    </message>
    <message>
        <source>the compressed copy is damaged</source>
        <translation>a cópia comprimida está danificada</translation>
    </message>
    <message>
        <source>it could not be copied (is the disk full?)</source>
        <translation>não pôde ser copiado (o disco está cheio?)</translation>
    </message>
    <message>
        <source>The backup of %1 was put back (%2). The files it replaced are in &quot;%3&quot;. The search index is made again as Velmora next opens the books.</source>
        <translation>A cópia de segurança de %1 foi restaurada (%2). Os arquivos que ela substituiu estão em &quot;%3&quot;. O índice de busca é refeito quando o Velmora abrir as agendas.</translation>
    </message>
    <message>
        <source>the clinic&apos;s calendar in &quot;%1&quot; cannot be read</source>
        <translation>o calendário da clínica em &quot;%1&quot; não pode ser lido</translation>
    </message>
    <message>
        <source>its calendar cannot be read</source>
        <translation>seu calendário não pode ser lido</translation>
    </message>
    <message>
        <source>the settings were not written first</source>
        <translation>as configurações não foram gravadas antes</translation>
    </message>
    <message>
        <source>the entry is no longer on the waiting list</source>
        <translation>a entrada não está mais na lista de espera</translation>
    </message>
    <message>
        <source>the server was set up by an older release: the clinic&apos;s IT person must run velmora --server-setup again</source>
        <translation>o servidor foi preparado por uma versão anterior: o responsável pela informática da clínica precisa executar velmora --server-setup novamente</translation>
    </message>
    <message>
        <source>the book is not open</source>
        <translation>a agenda não está aberta</translation>
    </message>
</context>
<context>
    <name>WeeklyTimes</name>
    <message>
        <source>Types correctly</source>
        <translation>Digite corretamente</translation>
    </message>
    <message>
        <source>%1 with inadequate data, please corrects.</source>
        <translation>%1 com dados inadequados, por favor corrija.</translation>
    </message>
    <message>
        <source>the first period</source>
        <translation>o primeiro período</translation>
    </message>
    <message>
        <source>the second period</source>
        <translation>o segundo período</translation>
    </message>
    <message>
        <source>%1 has a start (%2) but no end.</source>
        <translation>%1 tem início (%2), mas não tem fim.</translation>
    </message>
    <message>
        <source>%1 must end after it starts: it runs from %2 to %3.</source>
        <translation>%1 precisa terminar depois de começar: está de %2 a %3.</translation>
    </message>
    <message>
        <source>the second period starts at %1, before the first ends at %2.</source>
        <translation>o segundo período começa às %1, antes de o primeiro terminar, às %2.</translation>
    </message>
    <message>
        <source>the start of the first period</source>
        <translation>início do primeiro período</translation>
    </message>
    <message>
        <source>the end of the first period</source>
        <translation>fim do primeiro período</translation>
    </message>
    <message>
        <source>the start of the second period</source>
        <translation>início do segundo período</translation>
    </message>
    <message>
        <source>the end of the second period</source>
        <translation>fim do segundo período</translation>
    </message>
    <message>
        <source>%1, %2: &quot;%3&quot; is not a time. Write it as 08:00, from 00:00 to 23:59 (24:00 may end a period).</source>
        <translation>%1, %2: &quot;%3&quot; não é um horário. Escreva como 08:00, de 00:00 a 23:59 (24:00 pode encerrar um período).</translation>
    </message>
</context>
<context>
    <name>velmora::ConfirmationWindow</name>
    <message>
        <source>Confirmations</source>
        <translation>Confirmações</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>To confirm &amp;only</source>
        <translation>&amp;Só a confirmar</translation>
    </message>
    <message>
        <source>Appointments to confirm</source>
        <translation>Consultas a confirmar</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>Paciente</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>Health plan</source>
        <translation>Convênio</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Situação</translation>
    </message>
    <message>
        <source>Set stat&amp;us</source>
        <translation>Marcar sit&amp;uação</translation>
    </message>
    <message>
        <source>&amp;WhatsApp</source>
        <translation>&amp;WhatsApp</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>Im&amp;primir</translation>
    </message>
    <message>
        <source>Save as CS&amp;V</source>
        <translation>Salvar CS&amp;V</translation>
    </message>
    <message>
        <source>M&amp;essage...</source>
        <translation>M&amp;ensagem...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>The appointments could not be read: %1.</source>
        <translation>Não foi possível ler as consultas: %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n appointment(s)</source>
        <translation>
            <numerusform>%n consulta</numerusform>
            <numerusform>%n consultas</numerusform>
        </translation>
    </message>
    <message>
        <source>The phones of %1 hold no number to send a message to or to call.</source>
        <translation>Os telefones de %1 não têm nenhum número para mandar mensagem ou ligar.</translation>
    </message>
    <message>
        <source>The phones of %1 hold no mobile number for WhatsApp. Call instead: %2</source>
        <translation>Os telefones de %1 não têm um celular para o WhatsApp. Ligue para: %2</translation>
    </message>
    <message>
        <source>Send this message to %1 at %2?

%3</source>
        <translation>Enviar esta mensagem para %1 no número %2?

%3</translation>
    </message>
    <message>
        <source>Open WhatsApp</source>
        <translation>Abrir o WhatsApp</translation>
    </message>
    <message>
        <source>Next number</source>
        <translation>Próximo número</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>WhatsApp could not be opened: no browser answered.</source>
        <translation>Não foi possível abrir o WhatsApp: nenhum navegador respondeu.</translation>
    </message>
    <message>
        <source>Confirmations of %1</source>
        <translation>Confirmações de %1</translation>
    </message>
    <message>
        <source>Confirmations from %1 to %2</source>
        <translation>Confirmações de %1 a %2</translation>
    </message>
    <message>
        <source>Spreadsheet files (*.csv)</source>
        <translation>Planilhas (*.csv)</translation>
    </message>
    <message>
        <source>The file could not be written: %1.</source>
        <translation>Não foi possível gravar o arquivo: %1.</translation>
    </message>
    <message>
        <source>Last status set</source>
        <translation>Última situação marcada</translation>
    </message>
    <message>
        <source>%1, %2 %3 with %4: %5</source>
        <translation>%1, %2 %3 com %4: %5</translation>
    </message>
    <message>
        <source>The status of %1&apos;s appointment is &quot;%2&quot;. Send the confirmation message all the same?</source>
        <translation>A situação da consulta de %1 é &quot;%2&quot;. Enviar a mensagem de confirmação mesmo assim?</translation>
    </message>
    <message>
        <source>Send all the same</source>
        <translation>Enviar mesmo assim</translation>
    </message>
    <message>
        <source>WhatsApp could not be opened: no web browser or WhatsApp program answered on this computer.</source>
        <translation>Não foi possível abrir o WhatsApp: nenhum navegador nem o WhatsApp respondeu neste computador.</translation>
    </message>
    <message>
        <source>The message is longer than %1 characters, more than WhatsApp takes: shorten it with &quot;Message...&quot;.</source>
        <translation>A mensagem tem mais de %1 caracteres, mais do que o WhatsApp aceita: encurte-a em &quot;Mensagem...&quot;.</translation>
    </message>
    <message>
        <source>Reading the doctors...</source>
        <translation>Lendo os profissionais...</translation>
    </message>
    <message>
        <source>Reading the appointments...</source>
        <translation>Lendo as consultas...</translation>
    </message>
</context>
<context>
    <name>velmora::FindWindow</name>
    <message>
        <source>Find a patient</source>
        <translation>Localizar paciente</translation>
    </message>
    <message>
        <source>&amp;Name or phone:</source>
        <translation>&amp;Nome ou telefone:</translation>
    </message>
    <message>
        <source>Name or phone to find</source>
        <translation>Nome ou telefone a procurar</translation>
    </message>
    <message>
        <source>Appointments found</source>
        <translation>Consultas encontradas</translation>
    </message>
    <message>
        <source>The books could not be searched: %1</source>
        <translation>Não foi possível pesquisar as agendas: %1</translation>
    </message>
    <message>
        <source>Type at least three letters of a name, or four digits of a phone.</source>
        <translation>Digite pelo menos três letras do nome ou quatro dígitos do telefone.</translation>
    </message>
    <message>
        <source>Nothing found.</source>
        <translation>Nada encontrado.</translation>
    </message>
    <message numerus="yes">
        <source>Found: %n</source>
        <translation>
            <numerusform>%n consulta encontrada</numerusform>
            <numerusform>%n consultas encontradas</numerusform>
        </translation>
    </message>
    <message>
        <source>Searching the books...</source>
        <translation>Procurando nas agendas...</translation>
    </message>
    <message>
        <source>The search was stopped.</source>
        <translation>A busca foi interrompida.</translation>
    </message>
</context>
<context>
    <name>velmora::FirstFreeWindow</name>
    <message>
        <source>First free times</source>
        <translation>Horários vagos</translation>
    </message>
    <message>
        <source>First free times of %1</source>
        <translation>Horários vagos – %1</translation>
    </message>
    <message>
        <source>&amp;Earliest free times, Enter to go there:</source>
        <translation>&amp;Horários vagos, Enter para ir até lá:</translation>
    </message>
</context>
<context>
    <name>velmora::MessageWindow</name>
    <message>
        <source>WhatsApp message</source>
        <translation>Mensagem do WhatsApp</translation>
    </message>
    <message>
        <source>Message text</source>
        <translation>Texto da mensagem</translation>
    </message>
    <message>
        <source>The clinic&apos;s area code</source>
        <translation>DDD da clínica</translation>
    </message>
    <message>
        <source>The clinic&apos;s name</source>
        <translation>Nome da clínica</translation>
    </message>
    <message>
        <source>Placeholders: %1</source>
        <translation>Campos que podem ser usados: %1</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Mensagem:</translation>
    </message>
    <message>
        <source>&amp;Area code:</source>
        <translation>&amp;DDD:</translation>
    </message>
    <message>
        <source>C&amp;linic:</source>
        <translation>C&amp;línica:</translation>
    </message>
    <message>
        <source>As sent:</source>
        <translation>Como será enviada:</translation>
    </message>
    <message>
        <source>Maria da Silva</source>
        <translation>Maria da Silva</translation>
    </message>
    <message>
        <source>Dr. Souza</source>
        <translation>Dr. Souza</translation>
    </message>
    <message>
        <source>Not known, sent as typed: %1</source>
        <translation>Campos desconhecidos, enviados como estão: %1</translation>
    </message>
    <message>
        <source>The area code has two digits, such as 11 or 21.</source>
        <translation>O DDD tem dois dígitos, como 11 ou 21.</translation>
    </message>
    <message>
        <source>The message could not be saved in %1.</source>
        <translation>Não foi possível salvar a mensagem em %1.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>&amp;Default message</source>
        <translation>Mensagem &amp;padrão</translation>
    </message>
    <message>
        <source>Default message</source>
        <translation>Mensagem padrão</translation>
    </message>
    <message>
        <source>%1 of at most %2 characters</source>
        <translation>%1 de no máximo %2 caracteres</translation>
    </message>
    <message>
        <source>The message is empty: write one, or press &quot;Default message&quot;.</source>
        <translation>A mensagem está vazia: escreva uma ou clique em &quot;Mensagem padrão&quot;.</translation>
    </message>
    <message>
        <source>The message is longer than %1 characters: WhatsApp would not take it whole. Shorten it.</source>
        <translation>A mensagem tem mais de %1 caracteres: o WhatsApp não a aceitaria inteira. Encurte-a.</translation>
    </message>
    <message>
        <source>Message for a booking the clinic must reschedule</source>
        <translation>Mensagem para uma consulta que a clínica precisa remarcar</translation>
    </message>
    <message>
        <source>&amp;Reschedule message:</source>
        <translation>Mensagem para &amp;remarcar:</translation>
    </message>
    <message>
        <source>Message offering a freed time to the waiting list</source>
        <translation>Mensagem que oferece um horário vago à lista de espera</translation>
    </message>
    <message>
        <source>Offer of a &amp;freed time:</source>
        <translation>Oferta de &amp;vaga:</translation>
    </message>
</context>
<context>
    <name>velmora::MonthWindow</name>
    <message>
        <source>The month in numbers</source>
        <translation>Resumo do mês</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>Figures of the period</source>
        <translation>Números do período</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>Im&amp;primir</translation>
    </message>
    <message>
        <source>Save as CS&amp;V</source>
        <translation>Salvar CS&amp;V</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>The figures could not be read: %1.</source>
        <translation>Não foi possível ler os números: %1.</translation>
    </message>
    <message>
        <source>Free slots</source>
        <translation>Horários</translation>
    </message>
    <message>
        <source>Bookings</source>
        <translation>Consultas</translation>
    </message>
    <message>
        <source>Occupancy</source>
        <translation>Ocupação</translation>
    </message>
    <message>
        <source>Confirmed</source>
        <translation>Confirmadas</translation>
    </message>
    <message>
        <source>Arrived</source>
        <translation>Compareceram</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Faltas</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Desmarcadas</translation>
    </message>
    <message>
        <source>Bookings per week</source>
        <translation>Consultas por semana</translation>
    </message>
    <message>
        <source>Occupancy (%)</source>
        <translation>Ocupação (%)</translation>
    </message>
    <message>
        <source>Occupancy of the weekly hours</source>
        <translation>Ocupação dos horários</translation>
    </message>
    <message>
        <source>Health plans</source>
        <translation>Convênios</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 a %2</translation>
    </message>
    <message>
        <source>Spreadsheet files (*.csv)</source>
        <translation>Planilhas (*.csv)</translation>
    </message>
    <message>
        <source>The file could not be written: %1.</source>
        <translation>Não foi possível gravar o arquivo: %1.</translation>
    </message>
    <message>
        <source>Charts of the period</source>
        <translation>Gráficos do período</translation>
    </message>
    <message>
        <source>The month in numbers: %1 to %2</source>
        <translation>Resumo do mês: %1 a %2</translation>
    </message>
    <message>
        <source>100%: every slot booked</source>
        <translation>100%: todos os horários marcados</translation>
    </message>
    <message>
        <source>Counting the period...</source>
        <translation>Contando o período...</translation>
    </message>
    <message>
        <source>Squeeze-ins</source>
        <translation>Encaixes</translation>
    </message>
</context>
<context>
    <name>velmora::PeriodChoice</name>
    <message>
        <source>From date</source>
        <translation>Data inicial</translation>
    </message>
    <message>
        <source>To date</source>
        <translation>Data final</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;De:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Até:</translation>
    </message>
    <message>
        <source>&amp;Doctor:</source>
        <translation>Pr&amp;ofissional:</translation>
    </message>
    <message>
        <source>All doctors</source>
        <translation>Todos os profissionais</translation>
    </message>
    <message>
        <source>Read the %1 days from %2 to %3? A period this long takes a while to read.</source>
        <translation>Ler os %1 dias de %2 a %3? Um período tão longo demora a ser lido.</translation>
    </message>
    <message>
        <source>Read them</source>
        <translation>Ler</translation>
    </message>
    <message>
        <source>Keep the period</source>
        <translation>Manter o período</translation>
    </message>
</context>
<context>
    <name>velmora::ServerBackup</name>
    <message>
        <source>pg_dump, which copies the server&apos;s books, is not installed (Debian&apos;s package postgresql-client)</source>
        <translation>o pg_dump, que copia as agendas do servidor, não está instalado (pacote postgresql-client do Debian)</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be made</source>
        <translation>não foi possível criar a pasta &quot;%1&quot;</translation>
    </message>
    <message>
        <source>pg_dump could not be started: %1</source>
        <translation>não foi possível iniciar o pg_dump: %1</translation>
    </message>
    <message>
        <source>pg_dump failed: %1</source>
        <translation>o pg_dump falhou: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be put in place</source>
        <translation>não foi possível colocar &quot;%1&quot; no lugar</translation>
    </message>
</context>
<context>
    <name>velmora::SidePanel</name>
    <message>
        <source>Reception tools</source>
        <translation>Ferramentas da recepção</translation>
    </message>
    <message>
        <source>&amp;Find patient</source>
        <translation>&amp;Localizar paciente</translation>
    </message>
    <message>
        <source>&amp;Earliest free times</source>
        <translation>Horários &amp;vagos</translation>
    </message>
    <message>
        <source>Co&amp;nfirmations</source>
        <translation>Co&amp;nfirmações</translation>
    </message>
    <message>
        <source>Set stat&amp;us</source>
        <translation>Marcar sit&amp;uação</translation>
    </message>
    <message>
        <source>Histor&amp;y</source>
        <translation>Históric&amp;o</translation>
    </message>
    <message>
        <source>Marks of the day list</source>
        <translation>Marcas da lista do dia</translation>
    </message>
    <message>
        <source>&amp;Month in numbers</source>
        <translation>Resumo do &amp;mês</translation>
    </message>
    <message>
        <source>The clinic&apos;s &amp;day</source>
        <translation>O &amp;dia da clínica</translation>
    </message>
    <message>
        <source>To resc&amp;hedule (%1)</source>
        <translation>A r&amp;emarcar (%1)</translation>
    </message>
    <message>
        <source>The clinic&apos;s ca&amp;lendar</source>
        <translation>Calendá&amp;rio da clínica</translation>
    </message>
    <message>
        <source>To resc&amp;hedule</source>
        <translation>A r&amp;emarcar</translation>
    </message>
<message>
        <source>Mo&amp;ve</source>
        <translation>Trans&amp;ferir</translation>
    </message>
    <message>
        <source>Bein&amp;g moved:</source>
        <translation>A&amp;guardando lugar:</translation>
    </message>
    <message>
        <source>Appointments being moved</source>
        <translation>Consultas sendo transferidas</translation>
    </message>
    <message>
        <source>Place &amp;it here</source>
        <translation>Colocar a&amp;qui</translation>
    </message>
    <message>
        <source>Enter in the list</source>
        <translation>Enter na lista</translation>
    </message>
    <message>
        <source>Put bac&amp;k</source>
        <translation>Desfa&amp;zer transferência</translation>
    </message>
    <message>
        <source>&amp;Waiting list</source>
        <translation>Lis&amp;ta de espera</translation>
    </message>
    <message>
        <source>Repeat &amp;by week...</source>
        <translation>Repetir em &amp;bloco...</translation>
    </message>
    <message>
        <source>Series ending s&amp;oon:</source>
        <translation>Renova&amp;ções próximas:</translation>
    </message>
    <message>
        <source>Weekly series ending soon</source>
        <translation>Séries semanais terminando</translation>
    </message>
</context>
<context>
    <name>velmora::ReadingBar</name>
    <message>
        <source>Reading progress</source>
        <translation>Andamento da leitura</translation>
    </message>
    <message>
        <source>Stop readin&amp;g</source>
        <translation>Parar &amp;leitura</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>Parar a leitura</translation>
    </message>
</context>
<context>
    <name>velmora::ClinicDayWindow</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>free</source>
        <translation>livre</translation>
    </message>
    <message>
        <source>outside the hours</source>
        <translation>fora do horário</translation>
    </message>
    <message>
        <source>no hours this day</source>
        <translation>sem horário neste dia</translation>
    </message>
    <message>
        <source>the book cannot be read</source>
        <translation>a agenda não pode ser lida</translation>
    </message>
    <message>
        <source>booked, %1</source>
        <translation>marcado, %1</translation>
    </message>
    <message>
        <source>The clinic&apos;s day</source>
        <translation>O dia da clínica</translation>
    </message>
    <message>
        <source>&amp;Before</source>
        <translation>Dia &amp;anterior</translation>
    </message>
    <message>
        <source>T&amp;oday</source>
        <translation>&amp;Hoje</translation>
    </message>
    <message>
        <source>Afte&amp;r</source>
        <translation>&amp;Próximo dia</translation>
    </message>
    <message>
        <source>Every doctor&apos;s day</source>
        <translation>O dia de cada profissional</translation>
    </message>
    <message>
        <source>Reading the doctors&apos; days...</source>
        <translation>Lendo o dia dos profissionais...</translation>
    </message>
    <message>
        <source>unavailable</source>
        <translation>indisponível</translation>
    </message>
    <message>
        <source>no hours</source>
        <translation>sem horário</translation>
    </message>
    <message>
        <source>The day has changed meanwhile; the list shows it as it is now.</source>
        <translation>O dia mudou nesse meio-tempo; a lista o mostra como está agora.</translation>
    </message>
    <message>
        <source>The doctor&apos;s &amp;week</source>
        <translation>A &amp;semana do profissional</translation>
    </message>
    <message>
        <source>The week of %1 to %2</source>
        <translation>Semana de %1 a %2</translation>
    </message>
    <message>
        <source>MMMM d</source>
        <translation>d &apos;de&apos; MMMM</translation>
    </message>
    <message>
        <source>MMMM d, yyyy</source>
        <translation>d &apos;de&apos; MMMM &apos;de&apos; yyyy</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimir</translation>
    </message>
</context>
<context>
    <name>BoardPrintout</name>
    <message>
        <source>free</source>
        <translation>livre</translation>
    </message>
    <message>
        <source>%1&apos;s week - %2</source>
        <translation>Semana de %1 - %2</translation>
    </message>
    <message>
        <source>The clinic&apos;s day - %1</source>
        <translation>O dia da clínica - %1</translation>
    </message>
    <message>
        <source>clinic</source>
        <translation>clinica</translation>
    </message>
    <message>
        <source>free: a free slot   .: outside the hours   x: closed   -: the book cannot be read   %1</source>
        <translation>livre: horário livre   .: fora do horário   x: fechado   -: agenda ilegível   %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>unavailable: %1</source>
        <translation>indisponível: %1</translation>
    </message>
    <message>
        <source>no hours</source>
        <translation>sem horário</translation>
    </message>
</context>
<context>
    <name>ClinicCalendar</name>
    <message>
        <source>Holiday: %1</source>
        <translation>Feriado: %1</translation>
    </message>
    <message>
        <source>Choose the whole clinic or one of the doctors.</source>
        <translation>Escolha a clínica inteira ou um dos profissionais.</translation>
    </message>
    <message>
        <source>The range must end on or after the day it starts.</source>
        <translation>O período deve terminar no dia em que começa ou depois.</translation>
    </message>
    <message>
        <source>A closure or extra day covers at most a year; split a longer one.</source>
        <translation>Um bloqueio ou dia extra cobre no máximo um ano; divida um mais longo.</translation>
    </message>
    <message>
        <source>The closed hours must be times from 00:00 to 24:00, the end after the start.</source>
        <translation>O horário fechado deve ficar entre 00:00 e 24:00, o fim depois do início.</translation>
    </message>
    <message>
        <source>An extra day is one doctor&apos;s.</source>
        <translation>Um dia extra é de um profissional.</translation>
    </message>
    <message>
        <source>An extra day&apos;s hours are one or two periods, each ending after it starts, the second after the first.</source>
        <translation>O horário de um dia extra tem um ou dois períodos, cada um terminando depois de começar, o segundo depois do primeiro.</translation>
    </message>
    <message>
        <source>This doctor already has an extra day on that date.</source>
        <translation>Este profissional já tem um dia extra nessa data.</translation>
    </message>
    <message>
        <source>Name the holiday.</source>
        <translation>Dê um nome ao feriado.</translation>
    </message>
</context>
<context>
    <name>Holidays</name>
    <message>
        <source>New Year&apos;s Day</source>
        <translation>Confraternização Universal</translation>
    </message>
    <message>
        <source>Tiradentes</source>
        <translation>Tiradentes</translation>
    </message>
    <message>
        <source>Labour Day</source>
        <translation>Dia do Trabalho</translation>
    </message>
    <message>
        <source>Independence Day</source>
        <translation>Independência do Brasil</translation>
    </message>
    <message>
        <source>Our Lady Aparecida</source>
        <translation>Nossa Senhora Aparecida</translation>
    </message>
    <message>
        <source>All Souls&apos; Day</source>
        <translation>Finados</translation>
    </message>
    <message>
        <source>Proclamation of the Republic</source>
        <translation>Proclamação da República</translation>
    </message>
    <message>
        <source>Black Consciousness Day</source>
        <translation>Dia Nacional de Zumbi e da Consciência Negra</translation>
    </message>
    <message>
        <source>Christmas</source>
        <translation>Natal</translation>
    </message>
    <message>
        <source>Carnival Monday</source>
        <translation>Segunda-feira de Carnaval</translation>
    </message>
    <message>
        <source>Carnival Tuesday</source>
        <translation>Terça-feira de Carnaval</translation>
    </message>
    <message>
        <source>Good Friday</source>
        <translation>Sexta-feira Santa</translation>
    </message>
    <message>
        <source>Corpus Christi</source>
        <translation>Corpus Christi</translation>
    </message>
</context>
<context>
    <name>velmora::CalendarWindow</name>
    <message>
        <source>cannot be read</source>
        <translation>ilegível</translation>
    </message>
    <message numerus="yes">
        <source>%n appointment(s) fall in this closure. They stay booked and are listed to reschedule. Save the closure?</source>
        <translation>
            <numerusform>%n consulta cai neste bloqueio. Ela continua marcada e fica na lista a remarcar. Gravar o bloqueio?</numerusform>
            <numerusform>%n consultas caem neste bloqueio. Elas continuam marcadas e ficam na lista a remarcar. Gravar o bloqueio?</numerusform>
        </translation>
    </message>
    <message>
        <source>The clinic&apos;s calendar</source>
        <translation>O calendário da clínica</translation>
    </message>
    <message>
        <source>Closures, extra days and holidays</source>
        <translation>Bloqueios, dias extras e feriados</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Até</translation>
    </message>
    <message>
        <source>Who</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Horário</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Motivo</translation>
    </message>
    <message>
        <source>Set by</source>
        <translation>Registrado por</translation>
    </message>
    <message>
        <source>Closure</source>
        <translation>Bloqueio</translation>
    </message>
    <message>
        <source>Extra day</source>
        <translation>Dia extra</translation>
    </message>
    <message>
        <source>Holiday of the state or city</source>
        <translation>Feriado estadual ou municipal</translation>
    </message>
    <message>
        <source>Open on a holiday</source>
        <translation>Aberta num feriado</translation>
    </message>
    <message>
        <source>whole day; or 13:00-18:00; an extra day 08:00-12:00 14:00-18:00</source>
        <translation>dia inteiro; ou 13:00-18:00; um dia extra 08:00-12:00 14:00-18:00</translation>
    </message>
    <message>
        <source>Every &amp;year</source>
        <translation>Todo a&amp;no</translation>
    </message>
    <message>
        <source>Every year</source>
        <translation>Todo ano</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Incluir</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>&amp;Remover</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Closed on Car&amp;nival</source>
        <translation>Fechada no &amp;Carnaval</translation>
    </message>
    <message>
        <source>Closed on Corpus Chr&amp;isti</source>
        <translation>Fechada em Corpus Chri&amp;sti</translation>
    </message>
    <message>
        <source>Bookings to reschedule</source>
        <translation>Consultas a remarcar</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>Paciente</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Tipo:</translation>
    </message>
    <message>
        <source>D&amp;octor:</source>
        <translation>&amp;Profissional:</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;De:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Até:</translation>
    </message>
    <message>
        <source>&amp;Hours:</source>
        <translation>&amp;Horário:</translation>
    </message>
    <message>
        <source>&amp;Reason:</source>
        <translation>&amp;Motivo:</translation>
    </message>
    <message>
        <source>Bookings on closed days and times, to reschedule:</source>
        <translation>Consultas em dias e horários fechados, a remarcar:</translation>
    </message>
    <message>
        <source>The calendar could not be saved: %1</source>
        <translation>O calendário não pôde ser gravado: %1</translation>
    </message>
    <message>
        <source>The whole clinic</source>
        <translation>A clínica inteira</translation>
    </message>
    <message>
        <source>The calendar cannot be read: %1</source>
        <translation>O calendário não pode ser lido: %1</translation>
    </message>
    <message>
        <source>every year</source>
        <translation>todo ano</translation>
    </message>
    <message>
        <source>whole day</source>
        <translation>dia inteiro</translation>
    </message>
    <message>
        <source>Reading the bookings on closed days...</source>
        <translation>Lendo as consultas em dias fechados...</translation>
    </message>
    <message>
        <source>Write the hours as 13:00-18:00, or leave them empty.</source>
        <translation>Escreva o horário como 13:00-18:00, ou deixe-o vazio.</translation>
    </message>
    <message>
        <source>The bookings under it cannot be read: %1</source>
        <translation>As consultas que ele cobre não podem ser lidas: %1</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Gravar</translation>
    </message>
    <message>
        <source>Do not save</source>
        <translation>Não gravar</translation>
    </message>
    <message>
        <source>The booking has changed meanwhile; the list shows the day as it is now.</source>
        <translation>A consulta mudou nesse meio tempo; a lista mostra o dia como está agora.</translation>
    </message>
    <message>
        <source>Chang&amp;e</source>
        <translation>Alt&amp;erar</translation>
    </message>
</context>
<context>
    <name>velmora::MainWindow</name>
    <message>
        <source>The booking of %1 is typed but not stored. Quit all the same?</source>
        <translation>A consulta de %1 foi digitada mas não está gravada. Sair mesmo assim?</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Go on typing</source>
        <translation>Continuar digitando</translation>
    </message>
    <message>
        <source>The health plan and phones are still those of the previous booking. Keep them for %1?</source>
        <translation>O convênio e os telefones ainda são os da consulta anterior. Manter para %1?</translation>
    </message>
    <message>
        <source>Keep them</source>
        <translation>Manter</translation>
    </message>
    <message>
        <source>Clear them</source>
        <translation>Apagar</translation>
    </message>
    <message>
        <source>%1 is %2 in the list. Book it at %2?</source>
        <translation>%1 é %2 na lista. Marcar às %2?</translation>
    </message>
    <message>
        <source>Book at %1</source>
        <translation>Marcar às %1</translation>
    </message>
    <message>
        <source>%1 is closed that day (%2). Place it there all the same?</source>
        <translation>O horário %1 está fechado nesse dia (%2). Transferir para lá mesmo assim?</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Transferir</translation>
    </message>
    <message>
        <source>Do not place</source>
        <translation>Não transferir</translation>
    </message>
    <message>
        <source>%1 is closed that day (%2). Book it all the same?</source>
        <translation>O horário %1 está fechado nesse dia (%2). Marcar mesmo assim?</translation>
    </message>
    <message>
        <source>Book</source>
        <translation>Marcar</translation>
    </message>
    <message>
        <source>Do not book</source>
        <translation>Não marcar</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Alterar</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Transferir</translation>
    </message>
    <message>
        <source>Choose the doctor and the date of the first session, and type the patient&apos;s name and time, then repeat it by week.</source>
        <translation>Escolha o médico e a data da primeira sessão, digite o nome do paciente e o horário, e então repita por semana.</translation>
    </message>
    <message>
        <source>%1: this appointment is session %2 of a weekly series. Which sessions?</source>
        <translation>%1: esta consulta é a sessão %2 de uma série semanal. Quais sessões?</translation>
    </message>
    <message>
        <source>&amp;This one</source>
        <translation>&amp;Só esta</translation>
    </message>
    <message>
        <source>This and the &amp;following</source>
        <translation>Esta e as se&amp;guintes</translation>
    </message>
    <message>
        <source>The &amp;whole series</source>
        <translation>A série &amp;inteira</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%2): %n left, last %3</source>
        <translation>
            <numerusform>%1 (%2): falta %n, última em %3</numerusform>
            <numerusform>%1 (%2): faltam %n, última em %3</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CalendarSetup</name>
    <message>
        <source>it was changed or removed at another desk meanwhile</source>
        <translation>ele foi alterado ou removido em outro computador nesse meio tempo</translation>
    </message>
</context>
<context>
    <name>DayList</name>
    <message>
        <source>Held to be moved</source>
        <translation>Retida para transferir</translation>
    </message>
    <message>
        <source>Squeeze-in</source>
        <translation>Encaixe</translation>
    </message>
    <message>
        <source>(squeeze-in)</source>
        <translation>(encaixe)</translation>
    </message>
    <message>
        <source>Session %1 of a weekly series</source>
        <translation>Sessão %1 de uma série semanal</translation>
    </message>
</context>
<context>
    <name>WaitingList</name>
    <message>
        <source>%1 has passed. Nothing was booked.</source>
        <translation>O horário %1 já passou. Nada foi marcado.</translation>
    </message>
    <message>
        <source>The doctor&apos;s hours could not be read: %1.</source>
        <translation>Não foi possível ler os horários do profissional: %1.</translation>
    </message>
    <message>
        <source>%1 is not one of the doctor&apos;s open times that day. Nothing was booked.</source>
        <translation>%1 não é um dos horários abertos do profissional nesse dia. Nada foi marcado.</translation>
    </message>
    <message>
        <source>The last date wanted, %1, has passed: choose dates from today on. Nothing was added.</source>
        <translation>A última data desejada, %1, já passou: escolha datas de hoje em diante. Nada foi incluído.</translation>
    </message>
    <message>
        <source>Type the patient&apos;s name.</source>
        <translation>Digite o nome do paciente.</translation>
    </message>
    <message>
        <source>Type a phone number, to offer the freed times.</source>
        <translation>Digite um telefone, para oferecer os horários que vagarem.</translation>
    </message>
    <message>
        <source>The last date wanted is before the first.</source>
        <translation>A última data desejada é anterior à primeira.</translation>
    </message>
    <message>
        <source>The name</source>
        <translation>O nome</translation>
    </message>
    <message>
        <source>The phones</source>
        <translation>Os telefones</translation>
    </message>
    <message>
        <source>The plan</source>
        <translation>O convênio</translation>
    </message>
    <message>
        <source>The notes</source>
        <translation>As observações</translation>
    </message>
    <message>
        <source>%1 may be at most %2 characters long.</source>
        <translation>%1 pode ter no máximo %2 caracteres.</translation>
    </message>
    <message>
        <source>%1 may not hold control characters.</source>
        <translation>%1 não pode conter caracteres de controle.</translation>
    </message>
    <message>
        <source>Hello, {first_name}! A time has opened with {doctor} on {weekday}, {date}, at {time}. Would you like it? Please reply YES to take it.
{clinic}</source>
        <translation>Olá, {primeiro_nome}! Vagou um horário com {medico} na {dia_da_semana}, {data}, às {hora}. Quer ficar com ele? Responda SIM para confirmar.
{clinica}</translation>
    </message>
    <message>
        <source>The entry could not be added: %1.</source>
        <translation>Não foi possível incluir a entrada: %1.</translation>
    </message>
    <message>
        <source>The waiting list could not be read again: %1.</source>
        <translation>Não foi possível ler de novo a lista de espera: %1.</translation>
    </message>
    <message>
        <source>The entry was not removed: %1.</source>
        <translation>A entrada não foi excluída: %1.</translation>
    </message>
    <message>
        <source>Choose an entry of the waiting list first.</source>
        <translation>Escolha antes uma entrada da lista de espera.</translation>
    </message>
    <message>
        <source>The day could not be read: %1.</source>
        <translation>Não foi possível ler o dia: %1.</translation>
    </message>
    <message>
        <source>%1 was taken meanwhile. Nothing was booked.</source>
        <translation>%1 foi ocupado nesse meio-tempo. Nada foi marcado.</translation>
    </message>
    <message>
        <source>Nothing was booked: %1.</source>
        <translation>Nada foi marcado: %1.</translation>
    </message>
</context>
<context>
    <name>velmora::WaitingListWindow</name>
    <message>
        <source>Morning</source>
        <translation>Manhã</translation>
    </message>
    <message>
        <source>Afternoon</source>
        <translation>Tarde</translation>
    </message>
    <message>
        <source>Any time</source>
        <translation>Qualquer horário</translation>
    </message>
    <message>
        <source>Waiting list</source>
        <translation>Lista de espera</translation>
    </message>
    <message>
        <source>&amp;Waiting:</source>
        <translation>Em &amp;espera:</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Incluída</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Profissional</translation>
    </message>
    <message>
        <source>Dates</source>
        <translation>Datas</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Período</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Observações</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nome:</translation>
    </message>
    <message>
        <source>&amp;Phones:</source>
        <translation>&amp;Telefones:</translation>
    </message>
    <message>
        <source>P&amp;lan:</source>
        <translation>&amp;Convênio:</translation>
    </message>
    <message>
        <source>&amp;Doctor:</source>
        <translation>&amp;Profissional:</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;De:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Até:</translation>
    </message>
    <message>
        <source>P&amp;eriod:</source>
        <translation>Pe&amp;ríodo:</translation>
    </message>
    <message>
        <source>N&amp;otes:</source>
        <translation>&amp;Observações:</translation>
    </message>
    <message>
        <source>&amp;Add to the list</source>
        <translation>&amp;Incluir na lista</translation>
    </message>
    <message>
        <source>&amp;Remove from the list</source>
        <translation>E&amp;xcluir da lista</translation>
    </message>
    <message>
        <source>&amp;Book in the freed time</source>
        <translation>&amp;Marcar no horário vago</translation>
    </message>
    <message>
        <source>&amp;Send the offer by WhatsApp</source>
        <translation>Enviar a oferta pelo &amp;WhatsApp</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Any</source>
        <translation>Qualquer um</translation>
    </message>
    <message>
        <source>The waiting list could not be read: %1.</source>
        <translation>Não foi possível ler a lista de espera: %1.</translation>
    </message>
    <message>
        <source>Freed: %1, %2 at %3. Who wants it, oldest first:</source>
        <translation>Vagou: %1, %2 às %3. Quem quer, pela ordem de chegada:</translation>
    </message>
    <message>
        <source>Take %1 off the waiting list?</source>
        <translation>Tirar %1 da lista de espera?</translation>
    </message>
    <message>
        <source>Take off</source>
        <translation>Tirar</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Manter</translation>
    </message>
    <message>
        <source>%1 is booked at %2 and off the waiting list.</source>
        <translation>%1 está marcado às %2 e saiu da lista de espera.</translation>
    </message>
    <message>
        <source>The phones of %1 hold no mobile number for WhatsApp. Call instead: %2</source>
        <translation>Os telefones de %1 não têm celular para o WhatsApp. Ligue: %2</translation>
    </message>
    <message>
        <source>Send this message to %1?

%2</source>
        <translation>Enviar esta mensagem para %1?

%2</translation>
    </message>
    <message>
        <source>Open WhatsApp</source>
        <translation>Abrir o WhatsApp</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>WhatsApp could not be opened: no web browser or WhatsApp program answered on this computer.</source>
        <translation>Não foi possível abrir o WhatsApp: nenhum navegador ou programa do WhatsApp respondeu neste computador.</translation>
    </message>
</context>
<context>
    <name>SqueezeIns</name>
    <message>
        <source>%1 takes no squeeze-ins, and %2 is between the slots or taken. Book it as a squeeze-in all the same?</source>
        <translation>%1 não aceita encaixes, e %2 fica entre os horários ou já está ocupado. Marcar como encaixe assim mesmo?</translation>
    </message>
    <message numerus="yes">
        <source>%1 takes %n squeeze-in(s) a day, and this day has %2 already. Book %3 as one more all the same?</source>
        <translation>
            <numerusform>%1 aceita %n encaixe por dia, e este dia já tem %2. Marcar %3 como mais um assim mesmo?</numerusform>
            <numerusform>%1 aceita %n encaixes por dia, e este dia já tem %2. Marcar %3 como mais um assim mesmo?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmora::SqueezeLimitsWindow</name>
    <message>
        <source>Squeeze-ins per day</source>
        <translation>Encaixes por dia</translation>
    </message>
    <message>
        <source>A squeeze-in is a booking between a doctor&apos;s slots, or a second one at a taken slot. Past the number set here, the receptionist is asked first.</source>
        <translation>Encaixe é a consulta marcada entre os horários de um profissional, ou uma segunda num horário já ocupado. Acima desse número, o programa pergunta à recepção antes de marcar.</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>sem limite</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>The squeeze-ins per day could not be read: %1.</source>
        <translation>Não foi possível ler os encaixes por dia: %1.</translation>
    </message>
    <message>
        <source>Squeeze-ins a day for %1</source>
        <translation>Encaixes por dia de %1</translation>
    </message>
    <message>
        <source>The squeeze-ins per day could not be saved: %1.</source>
        <translation>Não foi possível salvar os encaixes por dia: %1.</translation>
    </message>
</context>
<context>
    <name>WeeklySeries</name>
    <message>
        <source>Choose the date of the first session.</source>
        <translation>Escolha a data da primeira sessão.</translation>
    </message>
    <message>
        <source>A series repeats every 1 to %1 weeks.</source>
        <translation>Uma série se repete a cada 1 a %1 semanas.</translation>
    </message>
    <message>
        <source>Choose at least one weekday.</source>
        <translation>Escolha pelo menos um dia da semana.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a time: type it as HH:MM, for example 08:00.</source>
        <translation>&quot;%1&quot; não é um horário: digite-o como HH:MM, por exemplo 08:00.</translation>
    </message>
    <message>
        <source>Give the number of sessions or the date of the last one.</source>
        <translation>Informe o número de sessões ou a data da última.</translation>
    </message>
    <message>
        <source>A series has 1 to %1 sessions.</source>
        <translation>Uma série tem de 1 a %1 sessões.</translation>
    </message>
    <message>
        <source>The series ends before it starts.</source>
        <translation>A série termina antes de começar.</translation>
    </message>
    <message>
        <source>No session falls between the start and the end.</source>
        <translation>Nenhuma sessão cai entre o início e o fim.</translation>
    </message>
    <message>
        <source>A series has 1 to %1 sessions: choose an earlier end.</source>
        <translation>Uma série tem de 1 a %1 sessões: escolha um fim mais cedo.</translation>
    </message>
    <message>
        <source>Taken</source>
        <translation>Ocupado</translation>
    </message>
    <message>
        <source>Outside the doctor&apos;s hours</source>
        <translation>Fora do horário do médico</translation>
    </message>
    <message>
        <source>Closed</source>
        <translation>Fechado</translation>
    </message>
    <message>
        <source>In the past</source>
        <translation>No passado</translation>
    </message>
    <message>
        <source>More than a year ahead</source>
        <translation>Mais de um ano à frente</translation>
    </message>
    <message>
        <source>Book</source>
        <translation>Marcar</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Pular</translation>
    </message>
    <message>
        <source>Next free time</source>
        <translation>Próximo horário livre</translation>
    </message>
    <message>
        <source>Book anyway (squeeze-in)</source>
        <translation>Marcar assim mesmo (encaixe)</translation>
    </message>
    <message>
        <source>The bookings of %1 could not be read.</source>
        <translation>Não foi possível ler as consultas de %1.</translation>
    </message>
</context>
<context>
    <name>velmora::SeriesWindow</name>
    <message>
        <source>Repeat as a weekly series</source>
        <translation>Repetir como série semanal</translation>
    </message>
    <message>
        <source>&amp;Every</source>
        <translation>&amp;A cada</translation>
    </message>
    <message numerus="yes">
        <source> week(s)</source>
        <translation>
            <numerusform> semana</numerusform>
            <numerusform> semanas</numerusform>
        </translation>
    </message>
    <message>
        <source>Every how many weeks</source>
        <translation>A cada quantas semanas</translation>
    </message>
    <message>
        <source>Time on %1</source>
        <translation>Horário de %1</translation>
    </message>
    <message>
        <source>&amp;Number of sessions</source>
        <translation>&amp;Número de sessões</translation>
    </message>
    <message>
        <source>How many sessions</source>
        <translation>Quantas sessões</translation>
    </message>
    <message>
        <source>&amp;Until</source>
        <translation>A&amp;té</translation>
    </message>
    <message>
        <source>Date of the last session</source>
        <translation>Data da última sessão</translation>
    </message>
    <message>
        <source>&amp;List the sessions</source>
        <translation>&amp;Listar as sessões</translation>
    </message>
    <message>
        <source>Sessions of the series</source>
        <translation>Sessões da série</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sessão</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Horário</translation>
    </message>
    <message>
        <source>In the way</source>
        <translation>Impedimento</translation>
    </message>
    <message>
        <source>Do</source>
        <translation>Fazer</translation>
    </message>
    <message>
        <source>What the series window says</source>
        <translation>O que a janela da série diz</translation>
    </message>
    <message>
        <source>&amp;Book the series</source>
        <translation>&amp;Marcar a série</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>%1 with %2, from %3 on.</source>
        <translation>%1 com %2, a partir de %3.</translation>
    </message>
    <message>
        <source>What to do with session %1</source>
        <translation>O que fazer com a sessão %1</translation>
    </message>
    <message>
        <source>Next free time (%1)</source>
        <translation>Próximo horário livre (%1)</translation>
    </message>
    <message>
        <source>Every session is free.</source>
        <translation>Todas as sessões estão livres.</translation>
    </message>
    <message>
        <source>Every session of the series is in the way: choose what to do with them, or change the series.</source>
        <translation>Todas as sessões da série estão impedidas: escolha o que fazer com elas, ou altere a série.</translation>
    </message>
    <message numerus="yes">
        <source>%n session(s) in the way: choose what to do with each.</source>
        <translation>
            <numerusform>%n sessão impedida: escolha o que fazer com ela.</numerusform>
            <numerusform>%n sessões impedidas: escolha o que fazer com cada uma.</numerusform>
        </translation>
    </message>
    <message>
        <source>Look at the sessions, then book.</source>
        <translation>Confira as sessões e então marque.</translation>
    </message>
    <message>
        <source>&amp;Sessions:</source>
        <translation>&amp;Sessões:</translation>
    </message>
</context>
<context>
    <name>PatientRules</name>
    <message>
        <source>Type the CPF, or choose why there is none (newborn, foreigner, not given).</source>
        <translation>Digite o CPF ou escolha por que não há (recém-nascido, estrangeiro, não informado).</translation>
    </message>
    <message>
        <source>A CPF has eleven digits.</source>
        <translation>O CPF tem onze dígitos.</translation>
    </message>
    <message>
        <source>A CPF of one digit repeated is no one&apos;s: check the number on the document.</source>
        <translation>Um CPF com um só dígito repetido não é de ninguém: confira o número no documento.</translation>
    </message>
    <message>
        <source>This CPF&apos;s check digits are wrong: check the number on the document.</source>
        <translation>Os dígitos verificadores deste CPF estão errados: confira o número no documento.</translation>
    </message>
    <message>
        <source>A national health card (CNS) has fifteen digits.</source>
        <translation>O Cartão Nacional de Saúde (CNS) tem quinze dígitos.</translation>
    </message>
    <message>
        <source>This national health card (CNS) number is not valid: check it on the card.</source>
        <translation>Este número do Cartão Nacional de Saúde (CNS) não é válido: confira no cartão.</translation>
    </message>
    <message>
        <source>The birth date is in the future.</source>
        <translation>A data de nascimento está no futuro.</translation>
    </message>
    <message>
        <source>The birth date is more than 130 years ago.</source>
        <translation>A data de nascimento é de mais de 130 anos atrás.</translation>
    </message>
    <message>
        <source>A CEP has eight digits.</source>
        <translation>O CEP tem oito dígitos.</translation>
    </message>
    <message>
        <source>Type the patient&apos;s full name.</source>
        <translation>Digite o nome completo do paciente.</translation>
    </message>
</context>
<context>
    <name>PatientRecords</name>
    <message>
        <source>The CPF %1 is already %2&apos;s: open that record.</source>
        <translation>O CPF %1 já é de %2: abra esse cadastro.</translation>
    </message>
    <message>
        <source>The CPF %1 is already another patient&apos;s (saved at another desk): open that record.</source>
        <translation>O CPF %1 já é de outro paciente (salvo em outra estação): abra esse cadastro.</translation>
    </message>
    <message>
        <source>The patient could not be saved: %1.</source>
        <translation>O paciente não pôde ser salvo: %1.</translation>
    </message>
</context>
<context>
    <name>AppointmentBook</name>
    <message>
        <source>The appointment is stored without a patient record: %1</source>
        <translation>A consulta foi gravada sem cadastro de paciente: %1</translation>
    </message>
</context>
<context>
    <name>PatientBookings</name>
    <message>
        <source>born %1</source>
        <translation>nascido(a) em %1</translation>
    </message>
    <message>
        <source>%1&apos;s health plan card (%2 %3) is valid until %4, before the day booked.</source>
        <translation>A carteirinha do convênio de %1 (%2 %3) vale até %4, antes do dia marcado.</translation>
    </message>
</context>
<context>
    <name>velmora::MainWindow</name>
    <message>
        <source>Patients it may be</source>
        <translation>Pacientes que pode ser</translation>
    </message>
    <message>
        <source>Book for %1</source>
        <translation>Marcar para %1</translation>
    </message>
    <message>
        <source>A new patient</source>
        <translation>Um paciente novo</translation>
    </message>
    <message>
        <source>%1 may be a patient already recorded:
%2
Who is it?</source>
        <translation>%1 pode ser um paciente já cadastrado:
%2
Quem é?</translation>
    </message>
    <message>
        <source>%1 Book all the same?</source>
        <translation>%1 Marcar assim mesmo?</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Print the patients a name, phone, CPF or birth date (DD/MM/YYYY) may be, as the name field lists them, each on a line that starts &quot;patient&quot;: identity, full name, social name, CPF, birth date, phones, health plan card and its end, appointments missed; then each of their appointments, all doctors, on a line that starts &quot;appointment&quot;: date, time, slot, doctor, name, health plan, phones, status; tab-separated, upcoming first. Only reads. Exit 0 when a patient was found, 1 when none was, 2 on an error or a text too short.</source>
        <translation>Imprime os pacientes que um nome, telefone, CPF ou data de nascimento (DD/MM/AAAA) pode ser, como o campo do nome os lista, cada um numa linha que começa com &quot;patient&quot;: identificação, nome completo, nome social, CPF, data de nascimento, telefones, carteirinha do convênio e seu vencimento, faltas; depois cada consulta deles, de todos os médicos, numa linha que começa com &quot;appointment&quot;: data, hora, vaga, médico, nome, convênio, telefones, situação; separados por tabulação, as próximas primeiro. Só lê. Sai com 0 quando achou um paciente, 1 quando não achou nenhum, 2 num erro ou num texto curto demais.</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message>
        <source>Type at least two letters of a name, four digits of a phone or a CPF, or a birth date written DD/MM/YYYY.</source>
        <translation>Digite ao menos duas letras de um nome, quatro dígitos de um telefone ou um CPF, ou uma data de nascimento escrita DD/MM/AAAA.</translation>
    </message>
</context>
<context>
    <name>PatientSheet</name>
    <message>
        <source>The patient&apos;s record is no longer there.</source>
        <translation>O cadastro do paciente não está mais lá.</translation>
    </message>
    <message>
        <source>This appointment was booked before patients were recorded: it belongs to no patient yet.</source>
        <translation>Esta consulta foi marcada antes do cadastro de pacientes: ainda não pertence a nenhum paciente.</translation>
    </message>
    <message>
        <source>The selected appointment is no longer stored as listed: it may have been changed or removed at another desk.</source>
        <translation>A consulta selecionada não está mais gravada como listada: pode ter sido alterada ou excluída em outra estação.</translation>
    </message>
</context>
<context>
    <name>velmora::MainWindow</name>
    <message>
        <source>The &amp;patient&apos;s record...</source>
        <translation>&amp;Ficha do paciente...</translation>
    </message>
</context>
<context>
    <name>velmora::PatientWindow</name>
    <message>
        <source>&amp;Full name</source>
        <translation>Nome &amp;completo</translation>
    </message>
    <message>
        <source>S&amp;ocial name</source>
        <translation>Nome soci&amp;al</translation>
    </message>
    <message>
        <source>&amp;CPF</source>
        <translation>CP&amp;F</translation>
    </message>
    <message>
        <source>&amp;Birth date</source>
        <translation>Data de &amp;nascimento</translation>
    </message>
    <message>
        <source>P&amp;hones</source>
        <translation>&amp;Telefones</translation>
    </message>
    <message>
        <source>&amp;E-mail</source>
        <translation>&amp;E-mail</translation>
    </message>
    <message>
        <source>Add&amp;ress</source>
        <translation>En&amp;dereço</translation>
    </message>
    <message>
        <source>&amp;District</source>
        <translation>&amp;Bairro</translation>
    </message>
    <message>
        <source>C&amp;ity</source>
        <translation>C&amp;idade</translation>
    </message>
    <message>
        <source>State (&amp;UF)</source>
        <translation>Estado (&amp;UF)</translation>
    </message>
    <message>
        <source>CE&amp;P</source>
        <translation>CE&amp;P</translation>
    </message>
    <message>
        <source>Health p&amp;lan</source>
        <translation>Con&amp;vênio</translation>
    </message>
    <message>
        <source>Card nu&amp;mber</source>
        <translation>Núme&amp;ro da carteirinha</translation>
    </message>
    <message>
        <source>Card &amp;valid until</source>
        <translation>Validade da carteirin&amp;ha</translation>
    </message>
    <message>
        <source>C&amp;NS</source>
        <translation>CN&amp;S</translation>
    </message>
    <message>
        <source>No&amp;tes</source>
        <translation>&amp;Observações</translation>
    </message>
    <message>
        <source>The CPF is given</source>
        <translation>O CPF foi informado</translation>
    </message>
    <message>
        <source>Newborn</source>
        <translation>Recém-nascido</translation>
    </message>
    <message>
        <source>Foreigner</source>
        <translation>Estrangeiro</translation>
    </message>
    <message>
        <source>Not given</source>
        <translation>Não informado</translation>
    </message>
    <message>
        <source>&amp;Why no CPF</source>
        <translation>&amp;Motivo sem CPF</translation>
    </message>
    <message>
        <source>the WhatsApp one first, each after a /</source>
        <translation>o do WhatsApp primeiro, cada um depois de uma /</translation>
    </message>
    <message>
        <source>&amp;Appointments:</source>
        <translation>Consu&amp;ltas:</translation>
    </message>
    <message>
        <source>The patient&apos;s appointments</source>
        <translation>As consultas do paciente</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Doctor</source>
        <translation>Médico</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Situação</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Gravar</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Gravar</translation>
    </message>
    <message>
        <source>Patient: %1</source>
        <translation>Paciente: %1</translation>
    </message>
    <message>
        <source>Type the date as %1.</source>
        <translation>Digite a data como %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n appointment(s), %1 missed.</source>
        <translation>
            <numerusform>%n consulta, %1 faltas.</numerusform>
            <numerusform>%n consultas, %1 faltas.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PatientMerge</name>
    <message>
        <source>Full name</source>
        <translation>Nome completo</translation>
    </message>
    <message>
        <source>Social name</source>
        <translation>Nome social</translation>
    </message>
    <message>
        <source>CPF</source>
        <translation>CPF</translation>
    </message>
    <message>
        <source>Birth date</source>
        <translation>Data de nascimento</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Endereço</translation>
    </message>
    <message>
        <source>Health plan cards</source>
        <translation>Carteirinhas do convênio</translation>
    </message>
    <message>
        <source>CNS</source>
        <translation>CNS</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Observações</translation>
    </message>
    <message>
        <source>none</source>
        <translation>nenhum</translation>
    </message>
    <message>
        <source>Choose two patients, neither of them merged already.</source>
        <translation>Escolha dois pacientes, nenhum deles já juntado.</translation>
    </message>
    <message>
        <source>The patients could not be merged: %1</source>
        <translation>Os pacientes não puderam ser juntados: %1</translation>
    </message>
    <message>
        <source>The records were merged, but their appointments could not all be moved: %1. Undo the merge and merge again.</source>
        <translation>Os cadastros foram juntados, mas nem todas as consultas puderam passar: %1. Desfaça a junção e junte de novo.</translation>
    </message>
    <message>
        <source>This patient was not merged into another.</source>
        <translation>Este paciente não foi juntado a outro.</translation>
    </message>
    <message>
        <source>The merge cannot be undone: the patient kept has changed since.</source>
        <translation>A junção não pode ser desfeita: o paciente mantido mudou desde então.</translation>
    </message>
    <message>
        <source>The merge could not be undone: %1</source>
        <translation>A junção não pôde ser desfeita: %1</translation>
    </message>
    <message>
        <source>%1 was merged into %2 by %3 on %4.</source>
        <translation>%1 foi juntado a %2 por %3 em %4.</translation>
    </message>
</context>
<context>
    <name>velmora::PatientWindow</name>
    <message>
        <source>Loo&amp;k up another record of the same person:</source>
        <translation>Pes&amp;quisar outro cadastro da mesma pessoa:</translation>
    </message>
    <message>
        <source>Another record of the same person</source>
        <translation>Outro cadastro da mesma pessoa</translation>
    </message>
    <message>
        <source>Records it may be</source>
        <translation>Cadastros que pode ser</translation>
    </message>
    <message>
        <source>Undo the mer&amp;ge of %1</source>
        <translation>Desfazer a &amp;junção de %1</translation>
    </message>
    <message>
        <source>Mer&amp;ge into this record</source>
        <translation>&amp;Juntar a este cadastro</translation>
    </message>
    <message>
        <source>Undo the merge of %1? Both records and their appointments go back to what they were before it.</source>
        <translation>Desfazer a junção de %1? Os dois cadastros e suas consultas voltam a ser como eram antes dela.</translation>
    </message>
    <message>
        <source>Undo the merge</source>
        <translation>Desfazer a junção</translation>
    </message>
    <message>
        <source>Keep it</source>
        <translation>Manter</translation>
    </message>
    <message>
        <source>Type the other record&apos;s name, phone or CPF and choose it in the list.</source>
        <translation>Digite o nome, telefone ou CPF do outro cadastro e escolha-o na lista.</translation>
    </message>
    <message>
        <source>Keep &quot;%1&quot;</source>
        <translation>Manter &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Take &quot;%1&quot;</source>
        <translation>Usar &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Do not merge</source>
        <translation>Não juntar</translation>
    </message>
    <message>
        <source>%1 differs in the two records. Which one stays?</source>
        <translation>%1 difere nos dois cadastros. Qual fica?</translation>
    </message>
    <message>
        <source>Merge %1 into %2? Every appointment of %1 becomes %2&apos;s; the merge can be undone from %2&apos;s record.</source>
        <translation>Juntar %1 a %2? Toda consulta de %1 passa a ser de %2; a junção pode ser desfeita no cadastro de %2.</translation>
    </message>
    <message>
        <source>Merge</source>
        <translation>Juntar</translation>
    </message>
</context>
<context>
    <name>BookingReview</name>
    <message>
        <source>The appointments of %1 could not all be given their patient: %2.</source>
        <translation>Nem todas as consultas de %1 puderam receber o paciente: %2.</translation>
    </message>
</context>
<context>
    <name>velmora::FindWindow</name>
    <message>
        <source>The patient&apos;s &amp;record</source>
        <translation>&amp;Ficha do paciente</translation>
    </message>
    <message>
        <source>&amp;Join old bookings to patients...</source>
        <translation>&amp;Juntar consultas antigas a pacientes...</translation>
    </message>
</context>
<context>
    <name>velmora::ReviewWindow</name>
    <message>
        <source>Patients from the books</source>
        <translation>Pacientes das agendas</translation>
    </message>
    <message>
        <source>The appointments booked before patients were recorded, grouped by name and phones. Nothing becomes a patient until you accept it; a &quot;maybe&quot; has the same name as another group with other phones: join them if they are one person.</source>
        <translation>As consultas marcadas antes do cadastro de pacientes, agrupadas por nome e telefones. Nada vira paciente até você aceitar; um &quot;talvez&quot; tem o mesmo nome de outro grupo com outros telefones: junte-os se forem uma pessoa só.</translation>
    </message>
    <message>
        <source>&amp;Suggested patients:</source>
        <translation>Pacientes &amp;sugeridos:</translation>
    </message>
    <message>
        <source>Suggested patients</source>
        <translation>Pacientes sugeridos</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Phones</source>
        <translation>Telefones</translation>
    </message>
    <message>
        <source>Appointments</source>
        <translation>Consultas</translation>
    </message>
    <message>
        <source>Maybe</source>
        <translation>Talvez</translation>
    </message>
    <message>
        <source>&amp;Accept as patients</source>
        <translation>&amp;Aceitar como pacientes</translation>
    </message>
    <message>
        <source>S&amp;plit off</source>
        <translation>Se&amp;parar</translation>
    </message>
    <message>
        <source>&amp;Join</source>
        <translation>&amp;Juntar</translation>
    </message>
    <message>
        <source>Grouping the appointments of the ten books</source>
        <translation>Agrupando as consultas das dez agendas</translation>
    </message>
    <message>
        <source>maybe</source>
        <translation>talvez</translation>
    </message>
    <message>
        <source>%1 suggested patients, %2 appointments.</source>
        <translation>%1 pacientes sugeridos, %2 consultas.</translation>
    </message>
    <message>
        <source>Choose appointments of one group to split them off.</source>
        <translation>Escolha consultas de um só grupo para separá-las.</translation>
    </message>
</context>
<context>
    <name>velmora::ConfirmationWindow</name>
    <message>
        <source>The &amp;patient&apos;s record...</source>
        <translation>&amp;Ficha do paciente...</translation>
    </message>
</context>
<context>
    <name>PatientBookings</name>
    <message>
        <source>Not asked yet about messages by WhatsApp.</source>
        <translation>Ainda não perguntado sobre mensagens por WhatsApp.</translation>
    </message>
    <message>
        <source>Agreed to messages by WhatsApp (noted by %1 on %2).</source>
        <translation>Aceitou mensagens por WhatsApp (anotado por %1 em %2).</translation>
    </message>
    <message>
        <source>Said no to messages by WhatsApp (noted by %1 on %2): call instead.</source>
        <translation>Não quer mensagens por WhatsApp (anotado por %1 em %2): ligue.</translation>
    </message>
</context>
<context>
    <name>PatientMerge</name>
    <message>
        <source>Messages by WhatsApp</source>
        <translation>Mensagens por WhatsApp</translation>
    </message>
</context>
<context>
    <name>velmora::PatientWindow</name>
    <message>
        <source>Not asked yet</source>
        <translation>Ainda não perguntado</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No: call instead</source>
        <translation>Não: ligar</translation>
    </message>
    <message>
        <source>Messages b&amp;y WhatsApp</source>
        <translation>Mensagens por &amp;WhatsApp</translation>
    </message>
</context>
<context>
    <name>velmora::ConfirmationWindow</name>
    <message>
        <source>%1 said no to messages by WhatsApp. Call instead: %2</source>
        <translation>%1 não quer mensagens por WhatsApp. Ligue: %2</translation>
    </message>
</context>
</TS>
