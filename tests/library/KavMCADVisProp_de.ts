<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MCADVisProp_err</name>
    <message>
        <source>error saving project</source>
        <translation>Fehler beim Speichern des Projekts</translation>
    </message>
    <message>
        <source>error saving project wt</source>
        <translation>Fehler beim Speichern des Projekts (Details)</translation>
    </message>
    <message>
        <source>error opening the file wt</source>
        <translation>Fehler beim Öffnen der Datei (Details)</translation>
    </message>
</context>
<context>
    <name>MCADVisProp_cmd</name>
    <message>
        <source>restore whole snapshot</source>
        <translation>Ganzen Schnappschuss wiederherstellen</translation>
    </message>
</context>
</TS>
