<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Kav::GApp</name>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="28"/>
        <source>error in the parameter string</source>
        <translation>Fehler im Parameterstring</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="29"/>
        <source>the command failed</source>
        <translation>der Befehl ist fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="30"/>
        <source>the command cannot be executed</source>
        <translation>der Befehl kann nicht ausgeführt werden</translation>
    </message>
    <message>
        <location filename="../host/gapp/kav_gapp_errors.cpp" line="32"/>
        <source>the command failed with an internal error</source>
        <translation>der Befehl ist mit einem internen Fehler fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>Kav::Parse</name>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="556"/>
        <source>&quot;0&quot; or &quot;1&quot;</source>
        <translation>&quot;0&quot; oder &quot;1&quot;</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="571"/>
        <location filename="../host/parse/kav_parse.cpp" line="575"/>
        <source>an unsigned whole number</source>
        <translation>eine nicht negative ganze Zahl</translation>
    </message>
    <message>
        <location filename="../host/parse/kav_parse.cpp" line="615"/>
        <source>a number</source>
        <translation>eine Zahl</translation>
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
        <location filename="../app/kav_app_commands.cpp" line="20"/>
        <source>the menu could not be filled</source>
        <translation>das Menü konnte nicht gefüllt werden</translation>
    </message>
    <message>
        <location filename="../app/kav_app_commands.cpp" line="21"/>
        <source>the menu could not be filled; the details name the file that could not be read</source>
        <translation>das Menü konnte nicht gefüllt werden; die Details nennen die Datei, die nicht gelesen werden konnte</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_widget.cpp" line="37"/>
        <source>Element</source>
        <translation>Element</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_widget.cpp" line="37"/>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <location filename="../app/kav_explorer_widget.cpp" line="83"/>
        <source>documentation</source>
        <translation>Dokumentation</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="61"/>
        <source>mvp-host - snapshot visualization</source>
        <translation>mvp-host - Snapshot-Darstellung</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="66"/>
        <source>Explorer</source>
        <translation>Explorer</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="72"/>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="78"/>
        <source>Legend</source>
        <translation>Legende</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="88"/>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="116"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="118"/>
        <source>&amp;Open project...</source>
        <translation>Projekt ö&amp;ffnen...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="121"/>
        <source>&amp;Save project...</source>
        <translation>Projekt &amp;speichern...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="125"/>
        <source>Load sample scene</source>
        <translation>Beispielszene laden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="128"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="133"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="135"/>
        <location filename="../app/kav_host_window.cpp" line="228"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="138"/>
        <location filename="../app/kav_host_window.cpp" line="230"/>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="144"/>
        <source>&amp;Report</source>
        <translation>Be&amp;richt</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="146"/>
        <source>Create snapshot</source>
        <translation>Snapshot erstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="151"/>
        <source>Restore whole snapshot</source>
        <translation>Ganzen Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="156"/>
        <source>restore visualization from snapshot</source>
        <translation>Darstellung aus Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="161"/>
        <source>Edit restore templates...</source>
        <translation>Wiederherstellungsvorlagen bearbeiten...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="166"/>
        <source>Import restore templates...</source>
        <translation>Wiederherstellungsvorlagen importieren...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="171"/>
        <source>&amp;Macro</source>
        <translation>&amp;Makro</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="173"/>
        <source>Record</source>
        <translation>Aufzeichnen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="176"/>
        <source>Recording a macro</source>
        <translation>Makro wird aufgezeichnet</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="179"/>
        <source>Stop recording</source>
        <translation>Aufzeichnung beenden</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="182"/>
        <source>Macro recorded: %1 commands</source>
        <translation>Makro aufgezeichnet: %1 Befehle</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="185"/>
        <source>Save macro...</source>
        <translation>Makro speichern...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="187"/>
        <source>Run macro...</source>
        <translation>Makro ausführen...</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="227"/>
        <source>Undo %1</source>
        <translation>%1 rückgängig machen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="229"/>
        <source>Redo %1</source>
        <translation>%1 wiederholen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="271"/>
        <source>(no restore templates)</source>
        <translation>(keine Wiederherstellungsvorlagen)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="285"/>
        <source>Open project</source>
        <translation>Projekt öffnen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="286"/>
        <location filename="../app/kav_host_window.cpp" line="298"/>
        <source>Projects (*.kvp)</source>
        <translation>Projekte (*.kvp)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="286"/>
        <location filename="../app/kav_host_window.cpp" line="311"/>
        <location filename="../app/kav_host_window.cpp" line="346"/>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="291"/>
        <source>Opened %1</source>
        <translation>%1 geöffnet</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="297"/>
        <source>Save project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="304"/>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="310"/>
        <source>Import restore templates</source>
        <translation>Wiederherstellungsvorlagen importieren</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="311"/>
        <source>Restore templates (*.rst)</source>
        <translation>Wiederherstellungsvorlagen (*.rst)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="316"/>
        <source>Imported restore templates from %1</source>
        <translation>Wiederherstellungsvorlagen aus %1 importiert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="324"/>
        <location filename="../app/kav_host_window.cpp" line="334"/>
        <source>Save macro</source>
        <translation>Makro speichern</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="325"/>
        <location filename="../app/kav_host_window.cpp" line="346"/>
        <source>Macro scripts (*.macro)</source>
        <translation>Makroskripte (*.macro)</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="335"/>
        <source>The macro could not be written to %1.</source>
        <translation>Das Makro konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="339"/>
        <source>Saved macro %1</source>
        <translation>Makro %1 gespeichert</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="345"/>
        <location filename="../app/kav_host_window.cpp" line="357"/>
        <location filename="../app/kav_host_window.cpp" line="365"/>
        <source>Run macro</source>
        <translation>Makro ausführen</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="366"/>
        <source>The macro %1 stopped.</source>
        <translation>Das Makro %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <location filename="../app/kav_host_window.cpp" line="370"/>
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
