<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Kav::Cfg</name>
    <message>
        <location filename="../host/cfg/kav_cfg_resource.cpp" line="71"/>
        <source>%1 are locked: the host has locked the configuration</source>
        <translation>%1 sind gesperrt: das Host-Programm hat die Konfiguration gesperrt</translation>
    </message>
    <message>
        <location filename="../host/cfg/kav_cfg_resource.cpp" line="78"/>
        <source>%1 are locked: the shared configuration level holds the marker &quot;%2&quot;</source>
        <translation>%1 sind gesperrt: die gemeinsame Konfigurationsebene enthält die Markierung „%2“</translation>
    </message>
</context>
<context>
    <name>Kav::GApp</name>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="29"/>
        <source>error in the parameter string</source>
        <translation>Fehler im Parameterstring</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="30"/>
        <source>the command failed</source>
        <translation>der Befehl ist fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="31"/>
        <source>the command cannot be executed</source>
        <translation>der Befehl kann nicht ausgeführt werden</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="33"/>
        <source>the command failed with an internal error</source>
        <translation>der Befehl ist mit einem internen Fehler fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="35"/>
        <source>a file cannot be read or written</source>
        <translation>eine Datei kann nicht gelesen oder geschrieben werden</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_command.cpp" line="127"/>
        <source>command &quot;%1&quot;: %2</source>
        <translation>Befehl „%1“: %2</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_command.cpp" line="131"/>
        <source>command &quot;%1&quot;: unknown exception</source>
        <translation>Befehl „%1“: unbekannte Ausnahme</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_command.cpp" line="206"/>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="41"/>
        <source>(no parameters)</source>
        <translation>(keine Parameter)</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_command.cpp" line="207"/>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="38"/>
        <source>command &quot;%1&quot; with parameters: %2
expected form: %3</source>
        <translation>Befehl „%1“ mit den Parametern: %2
erwartete Form: %3</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="74"/>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="97"/>
        <source>command %1 cannot be executed</source>
        <translation>Befehl %1 kann nicht ausgeführt werden</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="124"/>
        <source>command %1 threw an unknown exception</source>
        <translation>Befehl %1 hat eine unbekannte Ausnahme ausgelöst</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="134"/>
        <source>command %1 needs the window: it opens a dialog and runs from the menu, not from a script</source>
        <translation>Befehl %1 braucht das Fenster: er öffnet einen Dialog und läuft aus dem Menü, nicht aus einem Skript</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="139"/>
        <source>command %1 failed</source>
        <translation>Befehl %1 ist fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>Kav::IO</name>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="35"/>
        <source>No such file or directory</source>
        <translation>Datei oder Verzeichnis nicht gefunden</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="36"/>
        <source>Permission denied</source>
        <translation>Keine Berechtigung</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="37"/>
        <source>Operation not permitted</source>
        <translation>Die Operation ist nicht erlaubt</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="38"/>
        <source>No space left on device</source>
        <translation>Auf dem Gerät ist kein Speicherplatz mehr verfügbar</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="39"/>
        <source>Disk quota exceeded</source>
        <translation>Der zugewiesene Plattenplatz (Quota) ist überschritten</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="40"/>
        <source>File too large</source>
        <translation>Die Datei ist zu groß</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="41"/>
        <source>Read-only file system</source>
        <translation>Das Dateisystem ist nur lesbar</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="42"/>
        <source>Is a directory</source>
        <translation>Ist ein Verzeichnis</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="43"/>
        <source>Not a directory</source>
        <translation>Ist kein Verzeichnis</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="44"/>
        <source>File name too long</source>
        <translation>Der Dateiname ist zu lang</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="45"/>
        <source>Too many levels of symbolic links</source>
        <translation>Zu viele Ebenen symbolischer Verknüpfungen</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="46"/>
        <source>Input/output error</source>
        <translation>Ein- oder Ausgabefehler</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="61"/>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="63"/>
        <source>a character device</source>
        <translation>ein zeichenorientiertes Gerät</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="65"/>
        <source>a block device</source>
        <translation>ein blockorientiertes Gerät</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="67"/>
        <source>a FIFO</source>
        <translation>ein FIFO</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="69"/>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="70"/>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="75"/>
        <source>it is %1, not a regular file</source>
        <translation>es ist %1, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="121"/>
        <location filename="../host/io/kav_save_file.cpp" line="223"/>
        <source>no file name given</source>
        <translation>kein Dateiname angegeben</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="126"/>
        <location filename="../host/io/kav_save_file.cpp" line="137"/>
        <location filename="../host/io/kav_save_file.cpp" line="152"/>
        <source>%1: cannot save: %2</source>
        <translation>%1: kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="128"/>
        <source>%1: cannot save: %2; nothing was replaced</source>
        <translation>%1: kann nicht gespeichert werden: %2; nichts wurde ersetzt</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="145"/>
        <source>%1: cannot make a file in the folder &quot;%2&quot;: %3</source>
        <translation>%1: im Ordner „%2“ kann keine Datei angelegt werden: %3</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="164"/>
        <source>%1: cannot write: the file is not open</source>
        <translation>%1: kann nicht geschrieben werden: die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="170"/>
        <location filename="../host/io/kav_save_file.cpp" line="173"/>
        <location filename="../host/io/kav_save_file.cpp" line="186"/>
        <location filename="../host/io/kav_save_file.cpp" line="190"/>
        <source>%1: cannot write: %2</source>
        <translation>%1: kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="183"/>
        <source>%1: cannot save: the file is not open</source>
        <translation>%1: kann nicht gespeichert werden: die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="192"/>
        <source>%1: cannot replace the file: %2</source>
        <translation>%1: die Datei kann nicht ersetzt werden: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="56"/>
        <location filename="../host/io/kav_stream.cpp" line="301"/>
        <source>a string of %1 bytes is too long for a stream</source>
        <translation>eine Zeichenkette von %1 Bytes ist zu lang für einen Datenstrom</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="72"/>
        <source>%1: offset %2: %3</source>
        <translation>%1: Offset %2: %3</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="104"/>
        <location filename="../host/io/kav_stream.cpp" line="112"/>
        <source>memory: OutStream on a null buffer</source>
        <translation>Speicher: OutStream auf einem Nullpuffer</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="136"/>
        <source>the stream header</source>
        <translation>den Kopf des Datenstroms</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="146"/>
        <source>%1: cannot write %2: the stream is %3</source>
        <translation>%1: kann %2 nicht schreiben: der Datenstrom ist %3</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="148"/>
        <source>closed</source>
        <translation>geschlossen</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="149"/>
        <source>discarded</source>
        <translation>verworfen</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="159"/>
        <source>%1 (%2 bytes) overflows the block of %3 bytes begun at offset %4: only %5 bytes are left in it</source>
        <translation>für %1 (%2 Bytes) ist im bei Offset %4 begonnenen Block von %3 Bytes kein Platz: darin sind nur noch %5 Bytes frei</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="204"/>
        <location filename="../host/io/kav_stream.cpp" line="215"/>
        <source>a block</source>
        <translation>einen Block</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="205"/>
        <source>a block of %1 bytes with its header</source>
        <translation>einen Block von %1 Bytes mit seinem Kopf</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="216"/>
        <source>a block header</source>
        <translation>einen Blockkopf</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="233"/>
        <source>the end of a block</source>
        <translation>das Ende eines Blocks</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="235"/>
        <source>endBlock without an open block</source>
        <translation>endBlock ohne offenen Block</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="246"/>
        <source>the block begun at offset %1 declares %2 bytes but %3 were written</source>
        <translation>der bei Offset %1 begonnene Block gibt %2 Bytes an, geschrieben wurden aber %3</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="257"/>
        <source>a bool</source>
        <translation>einen Wahrheitswert</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="264"/>
        <source>an unsigned int</source>
        <translation>eine vorzeichenlose Ganzzahl</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="274"/>
        <source>a double</source>
        <translation>eine Gleitkommazahl</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="299"/>
        <source>a string</source>
        <translation>eine Zeichenkette</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="302"/>
        <source>a string of %1 bytes with its length</source>
        <translation>eine Zeichenkette von %1 Bytes mit ihrer Länge</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="325"/>
        <source>%1: cannot close: the stream was discarded</source>
        <translation>%1: kann nicht geschlossen werden: der Datenstrom wurde verworfen</translation>
    </message>
    <message>
        <location filename="../host/io/kav_stream.cpp" line="327"/>
        <source>close with %1 block(s) still open</source>
        <translation>Schließen mit %1 noch offenen Block/Blöcken</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="41"/>
        <location filename="../host/io/kav_in_stream.cpp" line="44"/>
        <source>%1: cannot open for reading: %2</source>
        <translation>%1: kann nicht zum Lesen geöffnet werden: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="68"/>
        <source>the stream magic (4 bytes)</source>
        <translation>die Kennung des Datenstroms (4 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="71"/>
        <source>not a block stream: expected the magic &quot;KAV2&quot; (%1) or &quot;KAVB&quot;, found %2</source>
        <translation>kein Blockdatenstrom: erwartet war die Kennung „KAV2“ (%1) oder „KAVB“, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="81"/>
        <source>the length of the stream type (4 bytes)</source>
        <translation>die Länge des Datenstromtyps (4 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="83"/>
        <source>a stream type of %1 bytes</source>
        <translation>ein Datenstromtyp von %1 Bytes</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="88"/>
        <source>the stream version (4 bytes)</source>
        <translation>die Version des Datenstroms (4 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="78"/>
        <location filename="../host/io/kav_in_stream.cpp" line="94"/>
        <source>the stream is truncated: it ends before its checksum</source>
        <translation>der Datenstrom ist abgeschnitten: er endet vor seiner Prüfsumme</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="102"/>
        <source>cannot seek: %1</source>
        <translation>Positionieren nicht möglich: %1</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="107"/>
        <location filename="../host/io/kav_in_stream.cpp" line="113"/>
        <source>read failed: %1</source>
        <translation>Lesen fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="120"/>
        <source>the checksum %1 does not match the %2 bytes before it (%3): the stream is damaged</source>
        <translation>die Prüfsumme %1 passt nicht zu den %2 Bytes davor (%3): der Datenstrom ist beschädigt</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="138"/>
        <source>%1 exceeds the %2 bytes left in the %3</source>
        <translation>%1 übersteigt die %2 Bytes, die im %3 übrig sind</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="141"/>
        <source>stream</source>
        <translation>Datenstrom</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="142"/>
        <source>block</source>
        <translation>Block</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="178"/>
        <source>%1: read failed: %2</source>
        <translation>%1: Lesen fehlgeschlagen: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="179"/>
        <source>%1: the stream is truncated, only %2 bytes could be read</source>
        <translation>%1: der Datenstrom ist abgeschnitten, nur %2 Bytes konnten gelesen werden</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="166"/>
        <location filename="../host/io/kav_in_stream.cpp" line="203"/>
        <source>cannot seek to offset %1: %2</source>
        <translation>Positionieren auf Offset %1 nicht möglich: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="212"/>
        <source>a block header (8 bytes)</source>
        <translation>ein Blockkopf (8 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="215"/>
        <source>a block of %1 bytes</source>
        <translation>ein Block von %1 Bytes</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="227"/>
        <source>getBlockVersion without an open block</source>
        <translation>getBlockVersion ohne offenen Block</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="234"/>
        <source>closeBlock without an open block</source>
        <translation>closeBlock ohne offenen Block</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="247"/>
        <source>a bool (1 byte)</source>
        <translation>ein Wahrheitswert (1 Byte)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="249"/>
        <source>a bool byte must be 0 or 1, found %1</source>
        <translation>ein Wahrheitswert-Byte muss 0 oder 1 sein, gefunden %1</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="256"/>
        <source>an unsigned int (4 bytes)</source>
        <translation>eine vorzeichenlose Ganzzahl (4 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="262"/>
        <source>a double (8 bytes)</source>
        <translation>eine Gleitkommazahl (8 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="271"/>
        <location filename="../host/io/kav_in_stream.cpp" line="281"/>
        <location filename="../host/io/kav_in_stream.cpp" line="291"/>
        <source>a string length (4 bytes)</source>
        <translation>eine Zeichenkettenlänge (4 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/io/kav_in_stream.cpp" line="272"/>
        <location filename="../host/io/kav_in_stream.cpp" line="282"/>
        <location filename="../host/io/kav_in_stream.cpp" line="292"/>
        <source>a string of %1 bytes</source>
        <translation>eine Zeichenkette von %1 Bytes</translation>
    </message>
</context>
<context>
    <name>Kav::MCADCmd</name>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="15"/>
        <source>create snapshot</source>
        <translation>Schnappschuss erstellen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="31"/>
        <source>no active documentation view to take a snapshot of</source>
        <translation>keine aktive Dokumentationsansicht für einen Schnappschuss</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="34"/>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="192"/>
        <source>the name &quot;%1&quot; is taken</source>
        <translation>der Name „%1“ ist vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="61"/>
        <source>select</source>
        <translation>auswählen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="71"/>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="156"/>
        <location filename="../host/mcadcmd/commands/kav_settings_commands.cpp" line="100"/>
        <source>no element &quot;%1&quot;</source>
        <translation>kein Element „%1“</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="91"/>
        <source>add element</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="109"/>
        <source>type: &quot;%1&quot; is not one of %2</source>
        <translation>type: „%1“ ist keiner von %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="112"/>
        <source>the name &quot;%1&quot; is empty or taken</source>
        <translation>der Name „%1“ ist leer oder vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="114"/>
        <source>no parent element &quot;%1&quot;</source>
        <translation>kein übergeordnetes Element „%1“</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="141"/>
        <source>remove element</source>
        <translation>Element entfernen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="176"/>
        <source>rename snapshot</source>
        <translation>Schnappschuss umbenennen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_element_commands.cpp" line="189"/>
        <source>no snapshot &quot;%1&quot;</source>
        <translation>kein Schnappschuss „%1“</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_file_commands.cpp" line="14"/>
        <source>sample scene</source>
        <translation>Beispielszene</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_file_commands.cpp" line="41"/>
        <source>elements: at most 10000000</source>
        <translation>elements: höchstens 10000000</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_file_commands.cpp" line="65"/>
        <source>load project</source>
        <translation>Projekt laden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_file_commands.cpp" line="90"/>
        <source>save project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_file_commands.cpp" line="110"/>
        <source>dump state</source>
        <translation>Zustand ausgeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="50"/>
        <source>parameter &quot;%1&quot;: a name must hold more than white space and no control characters</source>
        <translation>Parameter „%1“: ein Name muss mehr als Leerraum und keine Steuerzeichen enthalten</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="96"/>
        <source>undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="96"/>
        <source>redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="103"/>
        <source>nothing to undo</source>
        <translation>nichts rückgängig zu machen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="103"/>
        <source>nothing to redo</source>
        <translation>nichts zu wiederholen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="129"/>
        <source>the file cannot be opened or read</source>
        <translation>die Datei kann nicht geöffnet oder gelesen werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="131"/>
        <source>the file cannot be saved</source>
        <translation>die Datei kann nicht gespeichert werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="133"/>
        <source>there is no view to take a snapshot of</source>
        <translation>es gibt keine Ansicht für einen Schnappschuss</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="135"/>
        <source>the name is taken</source>
        <translation>der Name ist vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="137"/>
        <source>there is no element of that name</source>
        <translation>es gibt kein Element dieses Namens</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="139"/>
        <source>there is no step to undo or redo</source>
        <translation>es gibt keinen Schritt zum Rückgängigmachen oder Wiederholen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="141"/>
        <source>the sample scene cannot be read</source>
        <translation>die Beispielszene kann nicht gelesen werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_settings_commands.cpp" line="48"/>
        <source>change view</source>
        <translation>Ansicht ändern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_settings_commands.cpp" line="67"/>
        <source>change legend</source>
        <translation>Legende ändern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_settings_commands.cpp" line="86"/>
        <source>change element</source>
        <translation>Element ändern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_command_interface.cpp" line="184"/>
        <source>no scene</source>
        <translation>keine Szene</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_command_interface.cpp" line="192"/>
        <source>unknown element &quot;%1&quot;</source>
        <translation>unbekanntes Element „%1“</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="182"/>
        <source>element block of version %1, expected 1</source>
        <translation>Elementblock der Version %1, erwartet 1</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="208"/>
        <source>an element without a name</source>
        <translation>ein Element ohne Namen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="210"/>
        <source>element &quot;%1&quot; has the unknown type %2</source>
        <translation>Element „%1“ hat den unbekannten Typ %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="214"/>
        <source>element &quot;%1&quot;: %2 out of range, skipped</source>
        <translation>Element „%1“: %2 außerhalb des zulässigen Bereichs, übersprungen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="221"/>
        <source>its geometry</source>
        <translation>seine Geometrie</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="225"/>
        <source>its pull-out point</source>
        <translation>sein Herauszugspunkt</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="229"/>
        <source>its label&apos;s origin</source>
        <translation>der Ursprung seiner Beschriftung</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="234"/>
        <source>its label&apos;s position</source>
        <translation>die Lage seiner Beschriftung</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="238"/>
        <source>its label&apos;s font size</source>
        <translation>die Schriftgröße seiner Beschriftung</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="244"/>
        <source>its radius and sampling</source>
        <translation>sein Radius und seine Abtastung</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="101"/>
        <source>report &quot;%1&quot;: access %2 (type %3 &quot;%4&quot;)</source>
        <translation>Bericht „%1“: Zugriff %2 (Typ %3 „%4“)</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="106"/>
        <source> skipped: </source>
        <translation> übersprungen: </translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="138"/>
        <source>not an access type</source>
        <translation>kein Zugriffstyp</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="142"/>
        <source>no creator is registered for this type</source>
        <translation>für diesen Typ ist kein Erzeuger registriert</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="149"/>
        <source>the frame holds no access stream</source>
        <translation>der Rahmen enthält keinen Zugriffsdatenstrom</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="152"/>
        <source>only %1 of its %2 blocks could be read</source>
        <translation>nur %1 seiner %2 Blöcke konnten gelesen werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="177"/>
        <source>access frame of version %1, expected 1 to 3</source>
        <translation>Zugriffsrahmen der Version %1, erwartet 1 bis 3</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="189"/>
        <source>the accesses stored as changes would make more bytes than the file can stand for</source>
        <translation>die als Änderungen gespeicherten Zugriffe ergäben mehr Bytes, als die Datei hergeben kann</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="192"/>
        <source>it changes stored access %1, which is not at hand</source>
        <translation>er ändert den gespeicherten Zugriff %1, der nicht vorliegt</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="194"/>
        <source>it changes %1 bytes of stored access %2, which has %3</source>
        <translation>er ändert %1 Bytes des gespeicherten Zugriffs %2, der %3 hat</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project_blocks.cpp" line="203"/>
        <source>a change reaches past the end of stored access %1</source>
        <translation>eine Änderung reicht über das Ende des gespeicherten Zugriffs %1 hinaus</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="175"/>
        <source>element &quot;%1&quot;: %2</source>
        <translation>Element „%1“: %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="283"/>
        <source>cannot save the project &quot;%1&quot;: %2</source>
        <translation>das Projekt „%1“ kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="311"/>
        <source>not a project file (stream type &quot;%1&quot;)</source>
        <translation>keine Projektdatei (Datenstromtyp „%1“)</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="314"/>
        <source>project version %1 is not supported</source>
        <translation>Projektversion %1 wird nicht unterstützt</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="318"/>
        <source>view block of version %1</source>
        <translation>Ansichtsblock der Version %1</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="335"/>
        <source>the view&apos;s settings are out of range, skipped</source>
        <translation>die Einstellungen der Ansicht liegen außerhalb des zulässigen Bereichs, übersprungen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="346"/>
        <source>the legend&apos;s settings are malformed or out of range, skipped</source>
        <translation>die Einstellungen der Legende sind fehlerhaft oder außerhalb des zulässigen Bereichs, übersprungen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_element_state.cpp" line="249"/>
        <source>element &quot;%1&quot;: %2, skipped</source>
        <translation>Element „%1“: %2, übersprungen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="419"/>
        <source>report &quot;%1&quot; holds %2 accesses of %3 stored</source>
        <translation>Bericht „%1“ hält %2 Zugriffe von %3 gespeicherten</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="422"/>
        <source>report &quot;%1&quot; refers to accesses beyond the %2 stored</source>
        <translation>Bericht „%1“ verweist auf Zugriffe jenseits der %2 gespeicherten</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="459"/>
        <source>report &quot;%1&quot; lists access %2 twice</source>
        <translation>Bericht „%1“ führt Zugriff %2 zweimal auf</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="452"/>
        <source>report &quot;%1&quot; lists %2 of its %3 accesses</source>
        <translation>Bericht „%1“ führt %2 seiner %3 Zugriffe auf</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="339"/>
        <source>legend block of version %1</source>
        <translation>Legendenblock der Version %1</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="74"/>
        <source>picture block of version %1</source>
        <translation>Bildblock der Version %1</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="76"/>
        <source>the picture is too large (%1 bytes)</source>
        <translation>das Bild ist zu groß (%1 Bytes)</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="84"/>
        <source>the picture is no PNG picture of at most %1 x %1 pixels</source>
        <translation>das Bild ist kein PNG-Bild von höchstens %1 x %1 Pixeln</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="90"/>
        <source>report &quot;%1&quot;: %2, skipped</source>
        <translation>Bericht „%1“: %2, übersprungen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="370"/>
        <source>the element name &quot;%1&quot; occurs twice</source>
        <translation>der Elementname „%1“ kommt zweimal vor</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="374"/>
        <source>element &quot;%1&quot;: its parent &quot;%2&quot; does not come before it</source>
        <translation>Element „%1“: sein übergeordnetes Element „%2“ steht nicht davor</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="401"/>
        <source>report block of version %1</source>
        <translation>Berichtsblock der Version %1</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="408"/>
        <source>a report without a name, or with a name taken (&quot;%1&quot;)</source>
        <translation>ein Bericht ohne Namen oder mit vergebenem Namen („%1“)</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="429"/>
        <source>report &quot;%1&quot; changes a list of %2 accesses, the report before holds %3</source>
        <translation>Bericht „%1“ ändert eine Liste von %2 Zugriffen, der Bericht davor hält %3</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="438"/>
        <source>report &quot;%1&quot; changes places beyond its %2</source>
        <translation>Bericht „%1“ ändert Stellen jenseits seiner %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="485"/>
        <source>unexpected data after the last report</source>
        <translation>unerwartete Daten nach dem letzten Bericht</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="488"/>
        <source>cannot load the project &quot;%1&quot;: %2</source>
        <translation>das Projekt „%1“ kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="89"/>
        <source>type: &quot;%1&quot; is no element type</source>
        <translation>type: „%1“ ist kein Elementtyp</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="91"/>
        <source>name: &quot;%1&quot; is empty or taken</source>
        <translation>name: „%1“ ist leer oder vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="93"/>
        <source>parent: &quot;%1&quot; is no element before this line</source>
        <translation>parent: „%1“ ist kein Element vor dieser Zeile</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="97"/>
        <source>&quot;%1&quot; is not element, legend or view</source>
        <translation>„%1“ ist weder element noch legend noch view</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="101"/>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="118"/>
        <source>cannot open the sample scene &quot;%1&quot;: %2</source>
        <translation>die Beispielszene „%1“ kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="123"/>
        <source>the sample scene &quot;%1&quot; is larger than %2 bytes</source>
        <translation>die Beispielszene „%1“ ist größer als %2 Bytes</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="181"/>
        <source>%1: &quot;%2&quot; is not a finite number</source>
        <translation>%1: „%2“ ist keine endliche Zahl</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="183"/>
        <source>%1: %2 is outside %3..%4</source>
        <translation>%1: %2 liegt außerhalb von %3..%4</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="233"/>
        <source>display_mode: &quot;%1&quot; is not shaded, wireframe or points</source>
        <translation>display_mode: „%1“ ist weder shaded noch wireframe noch points</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="268"/>
        <source>color: &quot;%1&quot; is not of the form #rrggbb</source>
        <translation>color: „%1“ hat nicht die Form #rrggbb</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="278"/>
        <source>radius: only a 2D section inspection has one</source>
        <translation>radius: nur eine 2D-Schnittprüfung hat einen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="365"/>
        <source>range: the second value must exceed the first by at least %1</source>
        <translation>range: der zweite Wert muss den ersten um mindestens %1 übersteigen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="273"/>
        <source>label_font must be a whole number in 1..%1</source>
        <translation>label_font muss eine ganze Zahl in 1..%1 sein</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="276"/>
        <source>sampling: &quot;%1&quot; is no 2D section inspection</source>
        <translation>sampling: „%1“ ist keine 2D-Schnittprüfung</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="337"/>
        <source>sampling %1 gives more than %2 samples</source>
        <translation>sampling %1 ergibt mehr als %2 Abtastpunkte</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="368"/>
        <source>steps: a whole number in 2..%1</source>
        <translation>steps: eine ganze Zahl in 2..%1</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_scene_state.cpp" line="370"/>
        <source>map: &quot;%1&quot; is not rainbow, grey or signal</source>
        <translation>map: „%1“ ist weder rainbow noch grey noch signal</translation>
    </message>
</context>
<context>
    <name>Kav::Parse</name>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="18"/>
        <source>parameter &quot;%1&quot;: expected %2, found &quot;%3&quot;</source>
        <translation>Parameter „%1“: erwartet %2, gefunden „%3“</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="77"/>
        <source>exactly %1</source>
        <translation>genau %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="79"/>
        <source>at least %1</source>
        <translation>mindestens %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="81"/>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="83"/>
        <source>parameter &quot;%1&quot;: expected %2 values, found %3</source>
        <translation>Parameter „%1“: erwartet %2 Werte, gefunden %3</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="130"/>
        <source>&quot;0&quot; or &quot;1&quot;</source>
        <translation>&quot;0&quot; oder &quot;1&quot;</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="139"/>
        <location filename="../host/parse/kav_parse.cpp" line="143"/>
        <source>an unsigned whole number</source>
        <translation>eine nicht negative ganze Zahl</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="146"/>
        <source>parameter &quot;%1&quot;: &quot;%2&quot; is out of range (largest is %3)</source>
        <translation>Parameter „%1“: „%2“ liegt außerhalb des Bereichs (größter Wert %3)</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="168"/>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="172"/>
        <source>parameter &quot;%1&quot;: &quot;%2&quot; is out of range</source>
        <translation>Parameter „%1“: „%2“ liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="83"/>
        <source>parameter &quot;%1&quot; is given twice, at positions %2 and %3</source>
        <translation>Parameter „%1“ ist doppelt angegeben, an den Positionen %2 und %3</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/commands/kav_host_commands.cpp" line="87"/>
        <location filename="../host/parse/kav_parse.cpp" line="101"/>
        <source>unknown parameter &quot;%1&quot; at position %2</source>
        <translation>unbekannter Parameter „%1“ an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="58"/>
        <source>a string</source>
        <translation>eine Zeichenkette</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="60"/>
        <source>a list</source>
        <translation>eine Liste</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="62"/>
        <source>a group</source>
        <translation>eine Gruppe</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="103"/>
        <source>parameter &quot;%1&quot;: %2</source>
        <translation>Parameter „%1“: %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="108"/>
        <source>the end</source>
        <translation>das Ende</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="119"/>
        <source>unterminated group starting at position %1</source>
        <translation>nicht abgeschlossene Gruppe ab Position %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="129"/>
        <source>unexpected character %1 at position %2</source>
        <translation>unerwartetes Zeichen %1 an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="163"/>
        <source>expected &quot;=&quot; at position %1, found %2</source>
        <translation>„=“ erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="178"/>
        <source>expected a value (&quot;...&quot;, [...] or {...}) at position %1, found %2</source>
        <translation>Wert („...“, [...] oder {...}) erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="202"/>
        <source>unknown escape &quot;\%1&quot; at position %2</source>
        <translation>unbekannte Maskierung „\%1“ an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="210"/>
        <source>unterminated string starting at position %1</source>
        <translation>nicht abgeschlossene Zeichenkette ab Position %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="227"/>
        <source>expected a string in the list at position %1, found %2</source>
        <translation>Zeichenkette in der Liste erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="240"/>
        <source>expected &quot;,&quot; or &quot;]&quot; in the list at position %1, found %2</source>
        <translation>„,“ oder „]“ in der Liste erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="247"/>
        <source>unterminated list starting at position %1</source>
        <translation>nicht abgeschlossene Liste ab Position %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="254"/>
        <source>groups nested deeper than %1 levels at position %2</source>
        <translation>Gruppen tiefer als %1 Ebenen verschachtelt an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="315"/>
        <source>missing parameter &quot;%1&quot;</source>
        <translation>fehlender Parameter „%1“</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="317"/>
        <source>parameter &quot;%1&quot;: expected %2, found %3 at position %4</source>
        <translation>Parameter „%1“: erwartet %2, gefunden %3 an Position %4</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_write.cpp" line="75"/>
        <source>parameter &quot;%1&quot;: invalid group content: %2</source>
        <translation>Parameter „%1“: ungültiger Gruppeninhalt: %2</translation>
    </message>
</context>
<context>
    <name>Kav::PropertyAccess</name>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="58"/>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="60"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="105"/>
        <source>true or false</source>
        <translation>true oder false</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="62"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="286"/>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="64"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="162"/>
        <source>a string</source>
        <translation>eine Zeichenkette</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="66"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="180"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="293"/>
        <source>a list</source>
        <translation>eine Liste</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="68"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="134"/>
        <source>an object</source>
        <translation>ein Objekt</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="70"/>
        <source>nothing</source>
        <translation>nichts</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="88"/>
        <source>unknown key &quot;%1&quot; (known: %2)</source>
        <translation>unbekannter Schlüssel „%1“ (bekannt: %2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="95"/>
        <source>&quot;%1&quot; must be %2, found %3</source>
        <translation>„%1“ muss %2 sein, gefunden %3</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="115"/>
        <source>a whole number from 0</source>
        <translation>eine ganze Zahl ab 0</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="122"/>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="158"/>
        <source>must be an object, found %1</source>
        <translation>muss ein Objekt sein, gefunden %1</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="140"/>
        <source>&quot;usage&quot; key &quot;%1&quot; is not a property number</source>
        <translation>„usage“-Schlüssel „%1“ ist keine Eigenschaftsnummer</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="143"/>
        <source>&quot;usage&quot; of property %1 must be true or false, found %2</source>
        <translation>„usage“ der Eigenschaft %1 muss true oder false sein, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="156"/>
        <source>template %1</source>
        <translation>Vorlage %1</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="168"/>
        <source>the name must hold more than white space and no control characters</source>
        <translation>der Name muss mehr als Leerraum und keine Steuerzeichen enthalten</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="170"/>
        <source>template &quot;%1&quot;</source>
        <translation>Vorlage „%1“</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="184"/>
        <source>%1, part %2</source>
        <translation>%1, Teil %2</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="241"/>
        <source>&quot;usage&quot; gives property %1 twice (at offset %2)</source>
        <translation>„usage“ gibt die Eigenschaft %1 doppelt an (bei Offset %2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="244"/>
        <source>key &quot;%1&quot; is given twice in one object (at offset %2)</source>
        <translation>Schlüssel „%1“ ist in einem Objekt doppelt angegeben (bei Offset %2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="265"/>
        <source>not UTF-8 text (at offset %1)</source>
        <translation>kein UTF-8-Text (bei Offset %1)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="270"/>
        <source>the text ends early, at offset %1 (%2)</source>
        <translation>der Text endet zu früh, bei Offset %1 (%2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="273"/>
        <source>not JSON text at offset %1 (%2)</source>
        <translation>kein JSON-Text bei Offset %1 (%2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="278"/>
        <source>the top level</source>
        <translation>die oberste Ebene</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="280"/>
        <source>not a template file (it has no &quot;format&quot;: &quot;%1&quot;)</source>
        <translation>keine Vorlagendatei (sie hat kein „format“: „%1“)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="288"/>
        <source>version %1 is not supported (only %2)</source>
        <translation>Version %1 wird nicht unterstützt (nur %2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="331"/>
        <source>larger than %1 bytes</source>
        <translation>größer als %1 Bytes</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_exchange.cpp" line="338"/>
        <source>reading stopped at offset %1</source>
        <translation>das Lesen brach bei Offset %1 ab</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="27"/>
        <source>parameter &quot;%1&quot;: usage entry &quot;%2&quot; is not of the form id=0 or id=1</source>
        <translation>Parameter „%1“: der usage-Eintrag „%2“ hat nicht die Form id=0 oder id=1</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="48"/>
        <source>part type %1 is unknown (known: %2)</source>
        <translation>Teiltyp %1 ist unbekannt (bekannt: %2)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="52"/>
        <source>part type %1 is given twice</source>
        <translation>Teiltyp %1 ist doppelt angegeben</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="62"/>
        <source>part type %1 has no property %2 (it has: %3)</source>
        <translation>Teiltyp %1 hat keine Eigenschaft %2 (er hat: %3)</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="67"/>
        <source>part type %1 gives property %2 twice</source>
        <translation>Teiltyp %1 gibt die Eigenschaft %2 doppelt an</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="152"/>
        <source>parameter &quot;%1&quot;: %2</source>
        <translation>Parameter „%1“: %2</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template.cpp" line="158"/>
        <source>parameter &quot;%1&quot;: part type %2 is out of range</source>
        <translation>Parameter „%1“: der Teiltyp %2 liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_container.cpp" line="24"/>
        <source>restore template &quot;%1&quot;: %2</source>
        <translation>Wiederherstellungsvorlage „%1“: %2</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_container.cpp" line="31"/>
        <source>restore template part of unknown version %1</source>
        <translation>Teil einer Wiederherstellungsvorlage mit unbekannter Version %1</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_container.cpp" line="34"/>
        <source>restore template part of invalid type %1</source>
        <translation>Teil einer Wiederherstellungsvorlage mit ungültigem Typ %1</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_container.cpp" line="43"/>
        <source>part type %1 has no property %2</source>
        <translation>Teiltyp %1 hat keine Eigenschaft %2</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_container.cpp" line="55"/>
        <source>restore template of unknown version %1</source>
        <translation>Wiederherstellungsvorlage mit unbekannter Version %1</translation>
    </message>
    <message>
        <location filename="../host/propertyaccess/kav_prop_acc_template_container.cpp" line="115"/>
        <source>restore template list of unknown version %1</source>
        <translation>Liste von Wiederherstellungsvorlagen mit unbekannter Version %1</translation>
    </message>
</context>
<context>
    <name>KavHost</name>
    <message>
        <location filename="../host/gicon/kav_icon_cache.cpp" line="50"/>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <location filename="../host/gicon/kav_icon_cache.cpp" line="50"/>
        <source>S</source>
        <translation>G</translation>
    </message>
    <message>
        <location filename="../host/gicon/kav_icon_cache.cpp" line="50"/>
        <source>U</source>
        <translation>B</translation>
    </message>
    <message>
        <location filename="../host/gtools/kav_dialog_responder.cpp" line="172"/>
        <source>needs a user; cancelled</source>
        <translation>braucht einen Benutzer; abgebrochen</translation>
    </message>
    <message>
        <location filename="../host/gtools/kav_dialogs.cpp" line="97"/>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <location filename="../host/gtools/kav_edit_name_dialog.cpp" line="18"/>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <location filename="../host/gtools/kav_edit_name_dialog.cpp" line="22"/>
        <source>Enter name</source>
        <translation>Namen eingeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="153"/>
        <source>Saving the project</source>
        <translation>Projekt wird gespeichert</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/persist/kav_project.cpp" line="354"/>
        <source>Loading the project</source>
        <translation>Projekt wird geladen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/scene/kav_sample_scene.cpp" line="155"/>
        <source>Generating the scene</source>
        <translation>Szene wird erzeugt</translation>
    </message>
</context>
<context>
    <name>KavHost_element_type</name>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="11"/>
        <source>part</source>
        <translation>Bauteil</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="12"/>
        <source>assembly</source>
        <translation>Baugruppe</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="13"/>
        <source>point</source>
        <translation>Punkt</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="14"/>
        <source>plane</source>
        <translation>Ebene</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="15"/>
        <source>circle</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="16"/>
        <source>cylinder</source>
        <translation>Zylinder</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="17"/>
        <source>surface inspection</source>
        <translation>Flächenprüfung</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="18"/>
        <source>2D section inspection</source>
        <translation>2D-Schnittprüfung</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="19"/>
        <source>distance</source>
        <translation>Abstand</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="20"/>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <location filename="../app/kav_host_texts.cpp" line="21"/>
        <source>report</source>
        <translation>Bericht</translation>
    </message>
</context>
<context>
    <name>MvpHost</name>
    <message>
        <location filename="../app/kav_app_commands.cpp" line="25"/>
        <source>the menu could not be filled</source>
        <translation>das Menü konnte nicht gefüllt werden</translation>
    </message>
    <message>
        <location filename="../app/kav_app_commands.cpp" line="26"/>
        <source>the menu could not be filled; the details name the file that could not be read</source>
        <translation>das Menü konnte nicht gefüllt werden; die Details nennen die Datei, die nicht gelesen werden konnte</translation>
    </message>
    <message>
        <location filename="../app/kav_app_commands.cpp" line="37"/>
        <source>the command &quot;%1&quot; is not available</source>
        <translation>der Befehl „%1“ ist nicht verfügbar</translation>
    </message>
    <message>
        <location filename="../app/kav_app_commands.cpp" line="64"/>
        <source>command &quot;%1&quot; threw an unknown exception</source>
        <translation>Befehl „%1“ hat eine unbekannte Ausnahme ausgelöst</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_model.cpp" line="262"/>
        <source>Element</source>
        <translation>Element</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_model.cpp" line="262"/>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_model.cpp" line="141"/>
        <location filename="../app/kav_explorer_model.cpp" line="209"/>
        <source>documentation</source>
        <translation>Dokumentation</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="68"/>
        <source>mvp-host - snapshot visualization</source>
        <translation>mvp-host - Snapshot-Darstellung</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="73"/>
        <source>Explorer</source>
        <translation>Explorer</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="82"/>
        <source>Find by name or type</source>
        <translation>Nach Name oder Typ suchen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="91"/>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="97"/>
        <source>Legend</source>
        <translation>Legende</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="103"/>
        <source>Snapshots</source>
        <translation>Snapshots</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="114"/>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="119"/>
        <source>%1 labels not shown (no room)</source>
        <translation>%1 Beschriftungen nicht angezeigt (kein Platz)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="161"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="163"/>
        <source>&amp;Open project...</source>
        <translation>Projekt ö&amp;ffnen...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="166"/>
        <source>&amp;Save project...</source>
        <translation>Projekt &amp;speichern...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="170"/>
        <source>Load sample scene</source>
        <translation>Beispielszene laden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="173"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="180"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="182"/>
        <location filename="../app/kav_host_window.cpp" line="358"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="185"/>
        <location filename="../app/kav_host_window.cpp" line="360"/>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="191"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="193"/>
        <source>&amp;Frame all</source>
        <translation>&amp;Alles einpassen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="196"/>
        <source>Frame &amp;selection</source>
        <translation>Au&amp;swahl einpassen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="206"/>
        <source>Fr&amp;ont</source>
        <translation>&amp;Vorne</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="207"/>
        <source>&amp;Top</source>
        <translation>&amp;Oben</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="208"/>
        <source>&amp;Right</source>
        <translation>&amp;Rechts</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="209"/>
        <source>&amp;Isometric</source>
        <translation>&amp;Isometrisch</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="217"/>
        <source>&amp;Report</source>
        <translation>Be&amp;richt</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="219"/>
        <source>Create snapshot</source>
        <translation>Snapshot erstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="224"/>
        <location filename="../app/kav_snapshot_panel.cpp" line="292"/>
        <source>Restore whole snapshot</source>
        <translation>Ganzen Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="226"/>
        <source>restore visualization from snapshot</source>
        <translation>Darstellung aus Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="231"/>
        <source>Edit restore templates...</source>
        <translation>Wiederherstellungsvorlagen bearbeiten...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="233"/>
        <source>Import restore templates...</source>
        <translation>Wiederherstellungsvorlagen importieren...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="238"/>
        <source>&amp;Macro</source>
        <translation>&amp;Makro</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="240"/>
        <source>Record</source>
        <translation>Aufzeichnen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="243"/>
        <source>Recording a macro</source>
        <translation>Makro wird aufgezeichnet</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="246"/>
        <source>Stop recording</source>
        <translation>Aufzeichnung beenden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="249"/>
        <source>Macro recorded: %1 commands</source>
        <translation>Makro aufgezeichnet: %1 Befehle</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="252"/>
        <source>Save macro...</source>
        <translation>Makro speichern...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="254"/>
        <source>Run macro...</source>
        <translation>Makro ausführen...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="357"/>
        <source>Undo %1</source>
        <translation>%1 rückgängig machen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="359"/>
        <source>Redo %1</source>
        <translation>%1 wiederholen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="404"/>
        <source>(restore templates cannot be read)</source>
        <translation>(Wiederherstellungsvorlagen können nicht gelesen werden)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="405"/>
        <location filename="../app/kav_snapshot_panel.cpp" line="282"/>
        <source>(no restore templates)</source>
        <translation>(keine Wiederherstellungsvorlagen)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="416"/>
        <source>Nothing selected to frame</source>
        <translation>Nichts zum Einpassen ausgewählt</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="417"/>
        <source>Nothing shown to frame</source>
        <translation>Nichts zum Einpassen angezeigt</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="457"/>
        <source>Open project</source>
        <translation>Projekt öffnen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="458"/>
        <location filename="../app/kav_host_window.cpp" line="470"/>
        <source>Projects (*.kvp)</source>
        <translation>Projekte (*.kvp)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="458"/>
        <location filename="../app/kav_host_window.cpp" line="483"/>
        <location filename="../app/kav_host_window.cpp" line="517"/>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="463"/>
        <source>Opened %1</source>
        <translation>%1 geöffnet</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="469"/>
        <source>Save project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="476"/>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="482"/>
        <source>Import restore templates</source>
        <translation>Wiederherstellungsvorlagen importieren</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="483"/>
        <source>Restore templates (*.rst)</source>
        <translation>Wiederherstellungsvorlagen (*.rst)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="488"/>
        <source>Imported restore templates from %1</source>
        <translation>Wiederherstellungsvorlagen aus %1 importiert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="496"/>
        <location filename="../app/kav_host_window.cpp" line="506"/>
        <source>Save macro</source>
        <translation>Makro speichern</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="497"/>
        <location filename="../app/kav_host_window.cpp" line="517"/>
        <source>Macro scripts (*.kavmacro *.macro)</source>
        <translation>Makroskripte (*.kavmacro *.macro)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="507"/>
        <source>The macro could not be written to %1.</source>
        <translation>Das Makro konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="510"/>
        <source>Saved macro %1</source>
        <translation>Makro %1 gespeichert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="516"/>
        <location filename="../app/kav_host_window.cpp" line="528"/>
        <location filename="../app/kav_host_window.cpp" line="536"/>
        <source>Run macro</source>
        <translation>Makro ausführen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="537"/>
        <source>The macro %1 stopped.</source>
        <translation>Das Makro %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="541"/>
        <source>Macro %1: %2 commands run</source>
        <translation>Makro %1: %2 Befehle ausgeführt</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="73"/>
        <source>Shown</source>
        <translation>Angezeigt</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="82"/>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="83"/>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="88"/>
        <source>Steps</source>
        <translation>Stufen</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="92"/>
        <source>rainbow</source>
        <translation>Regenbogen</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="93"/>
        <source>grey</source>
        <translation>Grau</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="94"/>
        <source>signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="95"/>
        <source>Colours</source>
        <translation>Farben</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="50"/>
        <source>Visible</source>
        <translation>Sichtbar</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="53"/>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="58"/>
        <source>Transparency</source>
        <translation>Transparenz</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="61"/>
        <source>shaded</source>
        <translation>schattiert</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="61"/>
        <source>wireframe</source>
        <translation>Drahtgitter</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="62"/>
        <source>points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="63"/>
        <source>Display</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="64"/>
        <source>pulled out to</source>
        <translation>herausgezogen nach</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="67"/>
        <source>Pull-out</source>
        <translation>Herauszug</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="83"/>
        <source>Label shown</source>
        <translation>Beschriftung angezeigt</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="86"/>
        <source>Label placed by itself</source>
        <translation>Beschriftung automatisch platziert</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="89"/>
        <source>Label text</source>
        <translation>Beschriftungstext</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="138"/>
        <source>Element colour</source>
        <translation>Elementfarbe</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="164"/>
        <source>No element selected</source>
        <translation>Kein Element ausgewählt</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="165"/>
        <source>Select an element in the explorer to change its colour, transparency, pull-out and label.</source>
        <translation>Wählen Sie im Explorer ein Element, um Farbe, Transparenz, Herauszug und Beschriftung zu ändern.</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="170"/>
        <source>Snapshot of view &quot;%1&quot; holding %2 recorded properties. Restore it from the Report menu.</source>
        <translation>Snapshot der Ansicht &quot;%1&quot; mit %2 aufgezeichneten Eigenschaften. Wiederherstellen über das Menü Bericht.</translation>
    </message>
    <message>
        <location filename="../app/kav_property_panel.cpp" line="177"/>
        <source>invalid measurement</source>
        <translation>ungültige Messung</translation>
    </message>
    <message>
        <location filename="../app/kav_host_app.cpp" line="124"/>
        <source>the sample scene could not be loaded: </source>
        <translation>die Beispielszene konnte nicht geladen werden: </translation>
    </message>
    <message>
        <location filename="../app/kav_host_app.cpp" line="127"/>
        <source>the plug-in was loaded but not initialised</source>
        <translation>das Plug-in wurde geladen, aber nicht initialisiert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_app.cpp" line="142"/>
        <source>screenshot %1: the window cannot be captured</source>
        <translation>Bildschirmfoto %1: das Fenster kann nicht aufgenommen werden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_app.cpp" line="147"/>
        <source>screenshot: %1</source>
        <translation>Bildschirmfoto: %1</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="46"/>
        <source>script %1: no such file</source>
        <translation>Skript %1: keine solche Datei</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="50"/>
        <source>script %1: not a file</source>
        <translation>Skript %1: keine Datei</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="55"/>
        <source>script %1: cannot be opened: %2</source>
        <translation>Skript %1: kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="59"/>
        <source>script %1: too large (%2 bytes, at most %3)</source>
        <translation>Skript %1: zu groß (%2 Bytes, höchstens %3)</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="68"/>
        <source>script %1: too large (more than %2 bytes)</source>
        <translation>Skript %1: zu groß (mehr als %2 Bytes)</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="72"/>
        <source>script %1: not a text file (contains a zero byte)</source>
        <translation>Skript %1: keine Textdatei (enthält ein Nullbyte)</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="79"/>
        <source>script %1: not UTF-8 text</source>
        <translation>Skript %1: kein UTF-8-Text</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="141"/>
        <source>no main window to run &quot;%1&quot;</source>
        <translation>kein Hauptfenster, um „%1“ auszuführen</translation>
    </message>
    <message>
        <location filename="../app/kav_script_runner.cpp" line="147"/>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="66"/>
        <source>%1: cannot be opened: %2</source>
        <translation>%1: kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="72"/>
        <source>%1: too large (more than %2 bytes)</source>
        <translation>%1: zu groß (mehr als %2 Bytes)</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="87"/>
        <source>not UTF-8 text</source>
        <translation>kein UTF-8-Text</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="92"/>
        <source>line 1: not the header &quot;object, property, snapshot, current&quot; of a comparison table</source>
        <translation>Zeile 1: nicht die Kopfzeile „object, property, snapshot, current“ einer Vergleichstabelle</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="104"/>
        <source>line %1: the last line does not end</source>
        <translation>Zeile %1: die letzte Zeile endet nicht</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="111"/>
        <source>line %1: not an object, a property and two values separated by tabs</source>
        <translation>Zeile %1: nicht ein Objekt, eine Eigenschaft und zwei Werte, durch Tabulatoren getrennt</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="206"/>
        <source>Object</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="208"/>
        <source>Property</source>
        <translation>Eigenschaft</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="210"/>
        <source>Snapshot value</source>
        <translation>Wert im Snapshot</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_model.cpp" line="212"/>
        <source>Current value</source>
        <translation>Aktueller Wert</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="48"/>
        <source>Filter by object, property or value</source>
        <translation>Nach Objekt, Eigenschaft oder Wert filtern</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="75"/>
        <source>Restore selected</source>
        <translation>Auswahl wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="77"/>
        <source>Restores the elements of the selected rows from the snapshot</source>
        <translation>Stellt die Elemente der ausgewählten Zeilen aus dem Snapshot wieder her</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="79"/>
        <source>Compare again</source>
        <translation>Erneut vergleichen</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="84"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="103"/>
        <source>Differences - %1</source>
        <translation>Unterschiede - %1</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="122"/>
        <source>Differences</source>
        <translation>Unterschiede</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="123"/>
        <source>The comparison table cannot be read.</source>
        <translation>Die Vergleichstabelle kann nicht gelesen werden.</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="141"/>
        <source>Restoring &quot;%1&quot; whole would change nothing in the scene.</source>
        <translation>Den ganzen Snapshot „%1“ wiederherzustellen, würde in der Szene nichts ändern.</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="142"/>
        <source>Restoring &quot;%1&quot; whole would change %2 values in the scene.</source>
        <translation>Den ganzen Snapshot „%1“ wiederherzustellen, würde %2 Werte in der Szene ändern.</translation>
    </message>
    <message>
        <location filename="../app/kav_differences_window.cpp" line="144"/>
        <source>%1 shown.</source>
        <translation>%1 angezeigt.</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="82"/>
        <source>no picture</source>
        <translation>kein Bild</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="250"/>
        <source>Remove snapshots</source>
        <translation>Snapshots entfernen</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="251"/>
        <source>Remove the snapshot &quot;%1&quot;?</source>
        <translation>Den Snapshot „%1“ entfernen?</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="252"/>
        <source>Remove %1 snapshots?</source>
        <translation>%1 Snapshots entfernen?</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="266"/>
        <source>Rename snapshot</source>
        <translation>Snapshot umbenennen</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="267"/>
        <source>New name of the snapshot &quot;%1&quot;:</source>
        <translation>Neuer Name des Snapshots „%1“:</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="297"/>
        <source>Restore by template</source>
        <translation>Mit Vorlage wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="302"/>
        <source>Compare with the scene...</source>
        <translation>Mit der Szene vergleichen...</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="308"/>
        <source>Update %1 snapshots from the scene</source>
        <translation>%1 Snapshots aus der Szene aktualisieren</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="309"/>
        <source>Update from the scene</source>
        <translation>Aus der Szene aktualisieren</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="312"/>
        <source>Whole snapshot</source>
        <translation>Ganzer Snapshot</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="324"/>
        <source>Rename...</source>
        <translation>Umbenennen...</translation>
    </message>
    <message>
        <location filename="../app/kav_snapshot_panel.cpp" line="328"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
</TS>
