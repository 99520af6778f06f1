<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
        <location filename="../host/gapp/kav_command.cpp" line="201"/>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="41"/>
        <source>(no parameters)</source>
        <translation>(keine Parameter)</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_command.cpp" line="202"/>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="38"/>
        <source>command &quot;%1&quot; with parameters: %2
expected form: %3</source>
        <translation>Befehl „%1“ mit den Parametern: %2
erwartete Form: %3</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="93"/>
        <source>command %1 cannot be executed</source>
        <translation>Befehl %1 kann nicht ausgeführt werden</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_main_window.cpp" line="127"/>
        <source>command %1 failed</source>
        <translation>Befehl %1 ist fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>Kav::IO</name>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="37"/>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="39"/>
        <source>a character device</source>
        <translation>ein zeichenorientiertes Gerät</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="41"/>
        <source>a block device</source>
        <translation>ein blockorientiertes Gerät</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="43"/>
        <source>a FIFO</source>
        <translation>ein FIFO</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="45"/>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="46"/>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="51"/>
        <source>it is %1, not a regular file</source>
        <translation>es ist %1, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="97"/>
        <location filename="../host/io/kav_save_file.cpp" line="199"/>
        <source>no file name given</source>
        <translation>kein Dateiname angegeben</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="102"/>
        <location filename="../host/io/kav_save_file.cpp" line="113"/>
        <location filename="../host/io/kav_save_file.cpp" line="128"/>
        <source>%1: cannot save: %2</source>
        <translation>%1: kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="104"/>
        <source>%1: cannot save: %2; nothing was replaced</source>
        <translation>%1: kann nicht gespeichert werden: %2; nichts wurde ersetzt</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="121"/>
        <source>%1: cannot make a file in the folder &quot;%2&quot;: %3</source>
        <translation>%1: im Ordner „%2“ kann keine Datei angelegt werden: %3</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="140"/>
        <source>%1: cannot write: the file is not open</source>
        <translation>%1: kann nicht geschrieben werden: die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="146"/>
        <location filename="../host/io/kav_save_file.cpp" line="149"/>
        <location filename="../host/io/kav_save_file.cpp" line="162"/>
        <location filename="../host/io/kav_save_file.cpp" line="166"/>
        <source>%1: cannot write: %2</source>
        <translation>%1: kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="159"/>
        <source>%1: cannot save: the file is not open</source>
        <translation>%1: kann nicht gespeichert werden: die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <location filename="../host/io/kav_save_file.cpp" line="168"/>
        <source>%1: cannot replace the file: %2</source>
        <translation>%1: die Datei kann nicht ersetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>Kav::MCADCmd</name>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="15"/>
        <source>create snapshot</source>
        <translation>Schnappschuss erstellen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="31"/>
        <source>no active documentation view to take a snapshot of</source>
        <translation>keine aktive Dokumentationsansicht für einen Schnappschuss</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="34"/>
        <source>the name &quot;%1&quot; is taken</source>
        <translation>der Name „%1“ ist vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="60"/>
        <source>select</source>
        <translation>auswählen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="70"/>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="150"/>
        <location filename="../host/mcadcmd/kav_settings_commands.cpp" line="100"/>
        <source>no element &quot;%1&quot;</source>
        <translation>kein Element „%1“</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="90"/>
        <source>add element</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="104"/>
        <source>type: &quot;%1&quot; is not one of %2</source>
        <translation>type: „%1“ ist keiner von %2</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="106"/>
        <source>the name &quot;%1&quot; is empty or taken</source>
        <translation>der Name „%1“ ist leer oder vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="108"/>
        <source>no parent element &quot;%1&quot;</source>
        <translation>kein übergeordnetes Element „%1“</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_element_commands.cpp" line="135"/>
        <source>remove element</source>
        <translation>Element entfernen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_file_commands.cpp" line="14"/>
        <source>sample scene</source>
        <translation>Beispielszene</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_file_commands.cpp" line="41"/>
        <source>elements: at most 10000000</source>
        <translation>elements: höchstens 10000000</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_file_commands.cpp" line="65"/>
        <source>load project</source>
        <translation>Projekt laden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_file_commands.cpp" line="90"/>
        <source>save project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_file_commands.cpp" line="110"/>
        <source>dump state</source>
        <translation>Zustand ausgeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="50"/>
        <source>parameter &quot;%1&quot;: a name must hold more than white space and no control characters</source>
        <translation>Parameter „%1“: ein Name muss mehr als Leerraum und keine Steuerzeichen enthalten</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="96"/>
        <source>undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="96"/>
        <source>redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="103"/>
        <source>nothing to undo</source>
        <translation>nichts rückgängig zu machen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="103"/>
        <source>nothing to redo</source>
        <translation>nichts zu wiederholen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="129"/>
        <source>the file cannot be opened or read</source>
        <translation>die Datei kann nicht geöffnet oder gelesen werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="131"/>
        <source>the file cannot be saved</source>
        <translation>die Datei kann nicht gespeichert werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="133"/>
        <source>there is no view to take a snapshot of</source>
        <translation>es gibt keine Ansicht für einen Schnappschuss</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="135"/>
        <source>the name is taken</source>
        <translation>der Name ist vergeben</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="137"/>
        <source>there is no element of that name</source>
        <translation>es gibt kein Element dieses Namens</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="139"/>
        <source>there is no step to undo or redo</source>
        <translation>es gibt keinen Schritt zum Rückgängigmachen oder Wiederholen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="141"/>
        <source>the sample scene cannot be read</source>
        <translation>die Beispielszene kann nicht gelesen werden</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_settings_commands.cpp" line="48"/>
        <source>change view</source>
        <translation>Ansicht ändern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_settings_commands.cpp" line="67"/>
        <source>change legend</source>
        <translation>Legende ändern</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_settings_commands.cpp" line="86"/>
        <source>change element</source>
        <translation>Element ändern</translation>
    </message>
</context>
<context>
    <name>Kav::Parse</name>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="20"/>
        <source>parameter &quot;%1&quot;: expected %2, found &quot;%3&quot;</source>
        <translation>Parameter „%1“: erwartet %2, gefunden „%3“</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="80"/>
        <source>exactly %1</source>
        <translation>genau %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="82"/>
        <source>at least %1</source>
        <translation>mindestens %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="84"/>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="86"/>
        <source>parameter &quot;%1&quot;: expected %2 values, found %3</source>
        <translation>Parameter „%1“: erwartet %2 Werte, gefunden %3</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="133"/>
        <source>&quot;0&quot; or &quot;1&quot;</source>
        <translation>&quot;0&quot; oder &quot;1&quot;</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="142"/>
        <location filename="../host/parse/kav_parse.cpp" line="146"/>
        <source>an unsigned whole number</source>
        <translation>eine nicht negative ganze Zahl</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="149"/>
        <source>parameter &quot;%1&quot;: &quot;%2&quot; is out of range (largest is %3)</source>
        <translation>Parameter „%1“: „%2“ liegt außerhalb des Bereichs (größter Wert %3)</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="171"/>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="175"/>
        <source>parameter &quot;%1&quot;: &quot;%2&quot; is out of range</source>
        <translation>Parameter „%1“: „%2“ liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="83"/>
        <source>parameter &quot;%1&quot; is given twice, at positions %2 and %3</source>
        <translation>Parameter „%1“ ist doppelt angegeben, an den Positionen %2 und %3</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_host_commands.cpp" line="87"/>
        <location filename="../host/parse/kav_parse.cpp" line="104"/>
        <source>unknown parameter &quot;%1&quot; at position %2</source>
        <translation>unbekannter Parameter „%1“ an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="59"/>
        <source>a string</source>
        <translation>eine Zeichenkette</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="61"/>
        <source>a list</source>
        <translation>eine Liste</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="63"/>
        <source>a group</source>
        <translation>eine Gruppe</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="106"/>
        <source>parameter &quot;%1&quot;: %2</source>
        <translation>Parameter „%1“: %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="111"/>
        <source>the end</source>
        <translation>das Ende</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="122"/>
        <source>unterminated group starting at position %1</source>
        <translation>nicht abgeschlossene Gruppe ab Position %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="132"/>
        <source>unexpected character %1 at position %2</source>
        <translation>unerwartetes Zeichen %1 an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="166"/>
        <source>expected &quot;=&quot; at position %1, found %2</source>
        <translation>„=“ erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="181"/>
        <source>expected a value (&quot;...&quot;, [...] or {...}) at position %1, found %2</source>
        <translation>Wert („...“, [...] oder {...}) erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="205"/>
        <source>unknown escape &quot;\%1&quot; at position %2</source>
        <translation>unbekannte Maskierung „\%1“ an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="213"/>
        <source>unterminated string starting at position %1</source>
        <translation>nicht abgeschlossene Zeichenkette ab Position %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="230"/>
        <source>expected a string in the list at position %1, found %2</source>
        <translation>Zeichenkette in der Liste erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="243"/>
        <source>expected &quot;,&quot; or &quot;]&quot; in the list at position %1, found %2</source>
        <translation>„,“ oder „]“ in der Liste erwartet an Position %1, gefunden %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="250"/>
        <source>unterminated list starting at position %1</source>
        <translation>nicht abgeschlossene Liste ab Position %1</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="257"/>
        <source>groups nested deeper than %1 levels at position %2</source>
        <translation>Gruppen tiefer als %1 Ebenen verschachtelt an Position %2</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="318"/>
        <source>missing parameter &quot;%1&quot;</source>
        <translation>fehlender Parameter „%1“</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_scan.cpp" line="320"/>
        <source>parameter &quot;%1&quot;: expected %2, found %3 at position %4</source>
        <translation>Parameter „%1“: erwartet %2, gefunden %3 an Position %4</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse_write.cpp" line="78"/>
        <source>parameter &quot;%1&quot;: invalid group content: %2</source>
        <translation>Parameter „%1“: ungültiger Gruppeninhalt: %2</translation>
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
        <location filename="../host/mcadcmd/kav_project.cpp" line="342"/>
        <source>Saving the project</source>
        <translation>Projekt wird gespeichert</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_project.cpp" line="452"/>
        <source>Loading the project</source>
        <translation>Projekt wird geladen</translation>
    </message>
    <message>
        <location filename="../host/mcadcmd/kav_sample_scene.cpp" line="155"/>
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
        <location filename="../app/kav_app_commands.cpp" line="24"/>
        <source>the menu could not be filled</source>
        <translation>das Menü konnte nicht gefüllt werden</translation>
    </message>
    <message>
        <location filename="../app/kav_app_commands.cpp" line="25"/>
        <source>the menu could not be filled; the details name the file that could not be read</source>
        <translation>das Menü konnte nicht gefüllt werden; die Details nennen die Datei, die nicht gelesen werden konnte</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_model.cpp" line="185"/>
        <source>Element</source>
        <translation>Element</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_model.cpp" line="185"/>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_model.cpp" line="132"/>
        <source>documentation</source>
        <translation>Dokumentation</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="67"/>
        <source>mvp-host - snapshot visualization</source>
        <translation>mvp-host - Snapshot-Darstellung</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="72"/>
        <source>Explorer</source>
        <translation>Explorer</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="78"/>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="84"/>
        <source>Legend</source>
        <translation>Legende</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="94"/>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="134"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="136"/>
        <source>&amp;Open project...</source>
        <translation>Projekt ö&amp;ffnen...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="139"/>
        <source>&amp;Save project...</source>
        <translation>Projekt &amp;speichern...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="143"/>
        <source>Load sample scene</source>
        <translation>Beispielszene laden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="146"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="151"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="153"/>
        <location filename="../app/kav_host_window.cpp" line="278"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="156"/>
        <location filename="../app/kav_host_window.cpp" line="280"/>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="162"/>
        <source>&amp;Report</source>
        <translation>Be&amp;richt</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="164"/>
        <source>Create snapshot</source>
        <translation>Snapshot erstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="169"/>
        <source>Restore whole snapshot</source>
        <translation>Ganzen Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="171"/>
        <source>restore visualization from snapshot</source>
        <translation>Darstellung aus Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="176"/>
        <source>Edit restore templates...</source>
        <translation>Wiederherstellungsvorlagen bearbeiten...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="178"/>
        <source>Import restore templates...</source>
        <translation>Wiederherstellungsvorlagen importieren...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="183"/>
        <source>&amp;Macro</source>
        <translation>&amp;Makro</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="185"/>
        <source>Record</source>
        <translation>Aufzeichnen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="188"/>
        <source>Recording a macro</source>
        <translation>Makro wird aufgezeichnet</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="191"/>
        <source>Stop recording</source>
        <translation>Aufzeichnung beenden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="194"/>
        <source>Macro recorded: %1 commands</source>
        <translation>Makro aufgezeichnet: %1 Befehle</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="197"/>
        <source>Save macro...</source>
        <translation>Makro speichern...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="199"/>
        <source>Run macro...</source>
        <translation>Makro ausführen...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="277"/>
        <source>Undo %1</source>
        <translation>%1 rückgängig machen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="279"/>
        <source>Redo %1</source>
        <translation>%1 wiederholen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="324"/>
        <source>(restore templates cannot be read)</source>
        <translation>(Wiederherstellungsvorlagen können nicht gelesen werden)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="325"/>
        <source>(no restore templates)</source>
        <translation>(keine Wiederherstellungsvorlagen)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="339"/>
        <source>Open project</source>
        <translation>Projekt öffnen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="340"/>
        <location filename="../app/kav_host_window.cpp" line="352"/>
        <source>Projects (*.kvp)</source>
        <translation>Projekte (*.kvp)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="340"/>
        <location filename="../app/kav_host_window.cpp" line="365"/>
        <location filename="../app/kav_host_window.cpp" line="399"/>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="345"/>
        <source>Opened %1</source>
        <translation>%1 geöffnet</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="351"/>
        <source>Save project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="358"/>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="364"/>
        <source>Import restore templates</source>
        <translation>Wiederherstellungsvorlagen importieren</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="365"/>
        <source>Restore templates (*.rst)</source>
        <translation>Wiederherstellungsvorlagen (*.rst)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="370"/>
        <source>Imported restore templates from %1</source>
        <translation>Wiederherstellungsvorlagen aus %1 importiert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="378"/>
        <location filename="../app/kav_host_window.cpp" line="388"/>
        <source>Save macro</source>
        <translation>Makro speichern</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="379"/>
        <location filename="../app/kav_host_window.cpp" line="399"/>
        <source>Macro scripts (*.kavmacro *.macro)</source>
        <translation>Makroskripte (*.kavmacro *.macro)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="389"/>
        <source>The macro could not be written to %1.</source>
        <translation>Das Makro konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="392"/>
        <source>Saved macro %1</source>
        <translation>Makro %1 gespeichert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="398"/>
        <location filename="../app/kav_host_window.cpp" line="410"/>
        <location filename="../app/kav_host_window.cpp" line="418"/>
        <source>Run macro</source>
        <translation>Makro ausführen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="419"/>
        <source>The macro %1 stopped.</source>
        <translation>Das Makro %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="423"/>
        <source>Macro %1: %2 commands run</source>
        <translation>Makro %1: %2 Befehle ausgeführt</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="29"/>
        <source>Shown</source>
        <translation>Angezeigt</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="40"/>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="41"/>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="46"/>
        <source>Steps</source>
        <translation>Stufen</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="50"/>
        <source>rainbow</source>
        <translation>Regenbogen</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="51"/>
        <source>grey</source>
        <translation>Grau</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="52"/>
        <source>signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <location filename="../app/kav_legend_panel.cpp" line="53"/>
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
</context>
</TS>
