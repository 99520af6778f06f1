<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Kav_MCADVisPropEditRestoreTemplates_dlg</name>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dlg.ui" line="14"/>
        <source>edit templates</source>
        <translation>Vorlagen bearbeiten</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dlg.ui" line="70"/>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dlg.ui" line="126"/>
        <source>ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dlg.ui" line="133"/>
        <source>cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="118"/>
        <source>template content</source>
        <translation>Vorlageninhalt</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="121"/>
        <source>template list</source>
        <translation>Vorlagenliste</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="129"/>
        <source>new</source>
        <translation>neu</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="132"/>
        <source>rename</source>
        <translation>umbenennen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="136"/>
        <source>delete</source>
        <translation>löschen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="140"/>
        <source>import</source>
        <translation>importieren</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="143"/>
        <source>export selected</source>
        <translation>Auswahl exportieren</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="285"/>
        <source>restore template files</source>
        <translation>Wiederherstellungsvorlagen-Dateien</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="308"/>
        <source>new template</source>
        <translation>neue Vorlage</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="309"/>
        <source>restore template</source>
        <translation>Wiederherstellungsvorlage</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="329"/>
        <source>rename template</source>
        <translation>Vorlage umbenennen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="347"/>
        <source>remove templates</source>
        <translation>Vorlagen entfernen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="348"/>
        <source>remove selected templates. are you really sure?</source>
        <translation>Ausgewählte Vorlagen entfernen. Sind Sie wirklich sicher?</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="368"/>
        <source>import file</source>
        <translation>Datei importieren</translation>
    </message>
    <message>
        <location filename="../templates/mvp_edit_restore_templates_dialog.cpp" line="396"/>
        <source>export file</source>
        <translation>Datei exportieren</translation>
    </message>
</context>
<context>
    <name>MCADVisProp</name>
    <message>
        <location filename="../access/mvp_container_property_access.cpp" line="103"/>
        <location filename="../access/mvp_element_property_access.cpp" line="373"/>
        <source>element visibility</source>
        <translation>Elementsichtbarkeit</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="374"/>
        <source>element visualization</source>
        <translation>Elementdarstellung</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="375"/>
        <source>element pullout distance</source>
        <translation>Herauszugsabstand des Elements</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="376"/>
        <source>label visibility</source>
        <translation>Sichtbarkeit der Beschriftung</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="377"/>
        <source>label auto placement</source>
        <translation>automatische Platzierung der Beschriftung</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="378"/>
        <source>label content template</source>
        <translation>Inhaltsvorlage der Beschriftung</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="145"/>
        <source>rotation</source>
        <translation>Drehung</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="146"/>
        <source>translation</source>
        <translation>Verschiebung</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="147"/>
        <source>scale</source>
        <translation>Maßstab</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="148"/>
        <source>axis scale</source>
        <translation>Achsenmaßstab</translation>
    </message>
    <message>
        <location filename="../access/mvp_legend_property_access.cpp" line="138"/>
        <source>all legend parameters</source>
        <translation>alle Legendenparameter</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="41"/>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="43"/>
        <source>restore general</source>
        <translation>Allgemeines wiederherstellen</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="45"/>
        <source>restore explorer elements</source>
        <translation>Explorer-Elemente wiederherstellen</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="47"/>
        <source>restore 3d</source>
        <translation>3D wiederherstellen</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="49"/>
        <source>restore features</source>
        <translation>Features wiederherstellen</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="51"/>
        <source>restore projects</source>
        <translation>Projekte wiederherstellen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_prop_acc_template_view.cpp" line="119"/>
        <source>new and invalid elements</source>
        <translation>neue und ungültige Elemente</translation>
    </message>
    <message>
        <location filename="../templates/mvp_prop_acc_template_view.cpp" line="120"/>
        <source>set new elements invisible</source>
        <translation>neue Elemente ausblenden</translation>
    </message>
    <message>
        <location filename="../templates/mvp_prop_acc_template_view.cpp" line="122"/>
        <source>set invalid elements invisible</source>
        <translation>ungültige Elemente ausblenden</translation>
    </message>
    <message>
        <location filename="../templates/mvp_restore_template_file.cpp" line="36"/>
        <source>snapshot restore templates</source>
        <translation>Vorlagen zur Snapshot-Wiederherstellung</translation>
    </message>
    <message>
        <location filename="../templates/mvp_restore_template_file.cpp" line="101"/>
        <source>%1 is being changed by %2 (process %3 on %4): its lock %5 was not free within %6 seconds; nothing was changed</source>
        <translation>%1 wird gerade von %2 geändert (Prozess %3 auf %4): die Sperre %5 wurde nicht innerhalb von %6 Sekunden frei; nichts wurde geändert</translation>
    </message>
    <message>
        <location filename="../templates/mvp_restore_template_file.cpp" line="107"/>
        <source>%1 is being changed by another program: its lock %2 was not free within %3 seconds; nothing was changed</source>
        <translation>%1 wird gerade von einem anderen Programm geändert: die Sperre %2 wurde nicht innerhalb von %3 Sekunden frei; nichts wurde geändert</translation>
    </message>
    <message>
        <location filename="../templates/mvp_restore_template_file.cpp" line="113"/>
        <source>%1: the lock %2 cannot be made; nothing was changed</source>
        <translation>%1: die Sperre %2 kann nicht angelegt werden; nichts wurde geändert</translation>
    </message>
    <message>
        <location filename="../templates/mvp_restore_template_file.cpp" line="170"/>
        <source>%1 cannot be read: its restore templates are left out</source>
        <translation>%1 kann nicht gelesen werden: seine Wiederherstellungsvorlagen werden ausgelassen</translation>
    </message>
    <message>
        <location filename="../templates/mvp_restore_template_file.cpp" line="211"/>
        <source>it cannot be opened</source>
        <translation>sie kann nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>MCADVisProp_cmd</name>
    <message>
        <location filename="../restore/mvp_cmd_restore_from_template.cpp" line="26"/>
        <source>restore snapshot by template</source>
        <translation>Snapshot mit Vorlage wiederherstellen</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_restore_snapshot.cpp" line="21"/>
        <source>restore whole snapshot</source>
        <translation>ganzen Snapshot wiederherstellen</translation>
    </message>
    <message>
        <location filename="../restore/mvp_restore_common.cpp" line="49"/>
        <source>no snapshot was named (the name is empty)</source>
        <translation>kein Snapshot wurde genannt (der Name ist leer)</translation>
    </message>
    <message>
        <location filename="../restore/mvp_restore_common.cpp" line="51"/>
        <source>no snapshot has the name &quot;%1&quot;</source>
        <translation>kein Snapshot hat den Namen „%1“</translation>
    </message>
    <message>
        <location filename="../restore/mvp_restore_common.cpp" line="52"/>
        <source>&quot;%1&quot; is not a snapshot</source>
        <translation>„%1“ ist kein Snapshot</translation>
    </message>
    <message>
        <location filename="../restore/mvp_restore_common.cpp" line="119"/>
        <source>and %1 further properties</source>
        <translation>und %1 weitere Eigenschaften</translation>
    </message>
    <message>
        <location filename="../restore/mvp_restore_common.cpp" line="120"/>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <location filename="../restore/mvp_restore_common.cpp" line="121"/>
        <source>there are %1 properties, who could not be applied:</source>
        <translation>%1 Eigenschaften konnten nicht angewendet werden:</translation>
    </message>
    <message>
        <location filename="../templates/mvp_cmd_edit_templates.cpp" line="17"/>
        <source>edit restore templates</source>
        <translation>Wiederherstellungsvorlagen bearbeiten</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_compare_snapshot.cpp" line="22"/>
        <source>compare snapshot</source>
        <translation>Snapshot vergleichen</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_compare_snapshot.cpp" line="121"/>
        <source>other: %1</source>
        <translation>other: %1</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_restore_elements.cpp" line="27"/>
        <source>restore snapshot elements</source>
        <translation>Snapshot-Elemente wiederherstellen</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_restore_elements.cpp" line="60"/>
        <source>elements: the list names no element to restore</source>
        <translation>elements: die Liste nennt kein Element zum Wiederherstellen</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_restore_elements.cpp" line="118"/>
        <source>the snapshot does not hold this element</source>
        <translation>der Snapshot enthält dieses Element nicht</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_update_snapshots.cpp" line="75"/>
        <source>update snapshots</source>
        <translation>Snapshots aktualisieren</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_update_snapshots.cpp" line="105"/>
        <source>snapshots: the list names no snapshot to update</source>
        <translation>snapshots: die Liste nennt keinen Snapshot zum Aktualisieren</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_update_snapshots.cpp" line="109"/>
        <source>snapshots: &quot;%1&quot; is named twice</source>
        <translation>snapshots: „%1“ ist zweimal genannt</translation>
    </message>
    <message>
        <location filename="../restore/mvp_cmd_update_snapshots.cpp" line="170"/>
        <source>there is no view to take the scene&apos;s state from</source>
        <translation>es gibt keine Ansicht, aus der der Zustand der Szene genommen werden kann</translation>
    </message>
</context>
<context>
    <name>MCADVisProp_err</name>
    <message>
        <location filename="../library/mvp_errors.cpp" line="32"/>
        <source>error saving the file</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="33"/>
        <source>error saving the file wt</source>
        <translation>Fehler beim Speichern der Datei wt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="35"/>
        <source>error opening the file</source>
        <translation>Fehler beim Öffnen der Datei</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="36"/>
        <source>error opening the file wt</source>
        <translation>Fehler beim Öffnen der Datei wt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="38"/>
        <source>error saving project</source>
        <translation>Fehler beim Speichern des Projekts</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="39"/>
        <source>error saving project wt</source>
        <translation>Fehler beim Speichern des Projekts wt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="41"/>
        <source>error saving templates</source>
        <translation>Fehler beim Speichern der Vorlagen</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="42"/>
        <source>error saving templates wt</source>
        <translation>Fehler beim Speichern der Vorlagen wt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="44"/>
        <source>error the element in the parameterstring is not a snapshot</source>
        <translation>Fehler: das Element im Parameterstring ist kein Snapshot</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="45"/>
        <source>error the element in the parameterstring is not a snapshot wt</source>
        <translation>Fehler: das Element im Parameterstring ist kein Snapshot wt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="47"/>
        <source>error snapshot has no restore information (maybe the snapshot was created with an older version than v6.0.0 or by an image file</source>
        <translation>Fehler: der Snapshot enthält keine Wiederherstellungsinformation (vielleicht wurde er mit einer älteren Version als v6.0.0 oder aus einer Bilddatei erstellt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="50"/>
        <source>error snapshot has no restore information (maybe the snapshot was created with an older version than v6.0.0 or by an image file wt</source>
        <translation>Fehler: der Snapshot enthält keine Wiederherstellungsinformation (vielleicht wurde er mit einer älteren Version als v6.0.0 oder aus einer Bilddatei erstellt wt</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="54"/>
        <source>error the restore templates are being changed by another program</source>
        <translation>Fehler: die Wiederherstellungsvorlagen werden gerade von einem anderen Programm geändert</translation>
    </message>
    <message>
        <location filename="../library/mvp_errors.cpp" line="55"/>
        <source>error the restore templates are being changed by another program wt</source>
        <translation>Fehler: die Wiederherstellungsvorlagen werden gerade von einem anderen Programm geändert wt</translation>
    </message>
</context>
<context>
    <name>MCADVisProp_menu</name>
    <message>
        <location filename="../menu/mvp_menu_handler.cpp" line="47"/>
        <source>restore visualization from snapshot</source>
        <translation>Darstellung aus Snapshot wiederherstellen</translation>
    </message>
</context>
<context>
    <name>MCADVisProp_prop_acc</name>
    <message>
        <location filename="../access/mvp_container_property_access.cpp" line="79"/>
        <source>container #type for error msg</source>
        <translation>Container</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="56"/>
        <source>the view&apos;s rotation</source>
        <translation>die Drehung der Ansicht</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="57"/>
        <source>the view&apos;s translation</source>
        <translation>die Verschiebung der Ansicht</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="58"/>
        <source>the view&apos;s axis scale</source>
        <translation>die Achsenskalierung der Ansicht</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="59"/>
        <source>the view&apos;s scale</source>
        <translation>der Maßstab der Ansicht</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="75"/>
        <source>3d view</source>
        <translation>3D-Ansicht</translation>
    </message>
    <message>
        <location filename="../access/mvp_glview_property_access.cpp" line="128"/>
        <source>3d view properties #type for error msg</source>
        <translation>3D-Ansicht</translation>
    </message>
    <message>
        <location filename="../access/mvp_legend_property_access.cpp" line="70"/>
        <source>the legend&apos;s position</source>
        <translation>die Lage der Legende</translation>
    </message>
    <message>
        <location filename="../access/mvp_legend_property_access.cpp" line="84"/>
        <source>legend</source>
        <translation>Legende</translation>
    </message>
    <message>
        <location filename="../access/mvp_legend_property_access.cpp" line="121"/>
        <source>legend properties #type for error msg</source>
        <translation>Legende</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="154"/>
        <source>the label&apos;s position</source>
        <translation>die Lage der Beschriftung</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="155"/>
        <source>the label&apos;s origin</source>
        <translation>der Ursprung der Beschriftung</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="156"/>
        <source>the pull-out point</source>
        <translation>der Herauszugspunkt</translation>
    </message>
    <message>
        <location filename="../access/mvp_element_property_access.cpp" line="157"/>
        <source>the sampling</source>
        <translation>die Abtastung</translation>
    </message>
    <message>
        <location filename="../access/mvp_property_access.cpp" line="33"/>
        <source>%1 is out of range</source>
        <translation>%1 liegt außerhalb des zulässigen Bereichs</translation>
    </message>
</context>
</TS>
