<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BravoSensorPlugin::Core::CompareDialog</name>
    <message>
        <source>Compare with settings file</source>
        <translation>Mit Einstellungsdatei vergleichen</translation>
    </message>
    <message>
        <source>No differences</source>
        <translation>Keine Unterschiede</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
</context>
<context>
    <name>BravoSensorPlugin::Core::SensorWindow</name>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Property tree</source>
        <translation>Parameterbaum</translation>
    </message>
    <message>
        <source> Process data</source>
        <translation> Prozessdaten</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>Current (mA)</source>
        <translation>Strom (mA)</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgang</translation>
    </message>
    <message>
        <source>Pressure</source>
        <translation>Druck</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Switching points Pressure</source>
        <translation>Schaltpunkte Druck</translation>
    </message>
    <message>
        <source>Switching points Temperature</source>
        <translation>Schaltpunkte Temperatur</translation>
    </message>
    <message>
        <source>Voltage (V)</source>
        <translation>Spannung (V)</translation>
    </message>
    <message>
        <source>0 volt</source>
        <translation>0 Volt</translation>
    </message>
    <message>
        <source>10 volt</source>
        <translation>10 Volt</translation>
    </message>
    <message>
        <source>4 mA</source>
        <translation>4 mA</translation>
    </message>
    <message>
        <source>20 mA</source>
        <translation>20 mA</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Compare with settings file...</source>
        <translation>Mit Einstellungsdatei vergleichen...</translation>
    </message>
    <message>
        <source>Compare with settings file</source>
        <translation>Mit Einstellungsdatei vergleichen</translation>
    </message>
    <message>
        <source>Sensor Settings (*.tgs)</source>
        <translation>Sensoreinstellungen (*.tgs)</translation>
    </message>
    <message>
        <source>The selected settings are not for the current sensor or are corupted</source>
        <translation>Die gewählten Einstellungen gehören nicht zum aktuellen Sensor oder sind beschädigt</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>Connecting to sensor...</source>
        <translation>Verbindung zum Sensor wird hergestellt...</translation>
    </message>
    <message>
        <source>The connected sensor does not match currently selected sensor, please try again with the proper sensor</source>
        <translation>Der angeschlossene Sensor passt nicht zum gewählten Sensor. Bitte mit dem richtigen Sensor erneut versuchen.</translation>
    </message>
    <message>
        <source>Connecting to sensor</source>
        <translation>Verbindung zum Sensor</translation>
    </message>
    <message>
        <source>The sensor did not respond, please make sure it is properly connected.</source>
        <translation>Der Sensor antwortet nicht. Bitte prüfen Sie, ob er richtig angeschlossen ist.</translation>
    </message>
    <message>
        <source>tGauge</source>
        <translation>tGauge</translation>
    </message>
    <message>
        <source>Sensor settings will be overwritten with the ones from PC</source>
        <translation>Die Sensoreinstellungen werden mit denen vom PC überschrieben</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Clear chart history</source>
        <translation>Diagrammverlauf löschen</translation>
    </message>
    <message>
        <source>Do you really want to clear chart history ?</source>
        <translation>Soll der Diagrammverlauf wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>Restore factory defaults</source>
        <translation>Werkseinstellungen wiederherstellen</translation>
    </message>
    <message>
        <source>All settings will be restored to factory defaults, continue ?</source>
        <translation>Alle Einstellungen werden auf Werkseinstellungen zurückgesetzt. Fortfahren?</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Signal too low</source>
        <translation>Signal zu schwach</translation>
    </message>
    <message>
        <source>updating...</source>
        <translation>wird aktualisiert...</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Loaded settings will override the current project</source>
        <translation>Die geladenen Einstellungen ersetzen das aktuelle Projekt</translation>
    </message>
    <message>
        <source>Opening settings...</source>
        <translation>Einstellungen werden geöffnet...</translation>
    </message>
    <message>
        <source>The selected settings are corupted</source>
        <translation>Die gewählten Einstellungen sind beschädigt</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation>Die Datei %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file %1 is not XML.</source>
        <translation>Die Datei %1 ist kein XML.</translation>
    </message>
    <message>
        <source>The file has no element &quot;root&quot;.</source>
        <translation>Die Datei hat kein Element &quot;root&quot;.</translation>
    </message>
    <message>
        <source>The element &quot;%1&quot; is missing.</source>
        <translation>Das Element &quot;%1&quot; fehlt.</translation>
    </message>
    <message>
        <source>The value &quot;%2&quot; of %1 is not a number of its kind.</source>
        <translation>Der Wert &quot;%2&quot; von %1 ist keine Zahl seiner Art.</translation>
    </message>
    <message>
        <source>The value %2 of %1 is out of range (%3 to %4).</source>
        <translation>Der Wert %2 von %1 liegt außerhalb des Bereichs (%3 bis %4).</translation>
    </message>
    <message>
        <source>The chart history &quot;%1&quot; is damaged.</source>
        <translation>Der Diagrammverlauf &quot;%1&quot; ist beschädigt.</translation>
    </message>
    <message>
        <source>The selected settings are not for the current sensor</source>
        <translation>Die gewählten Einstellungen gehören nicht zum aktuellen Sensor</translation>
    </message>
    <message>
        <source>The sensor refused the value of %1</source>
        <translation>Der Sensor hat den Wert von %1 abgelehnt</translation>
    </message>
    <message>
        <source>%1 changes not written to the sensor</source>
        <translation>%1 Änderungen nicht in den Sensor geschrieben</translation>
    </message>
    <message>
        <source>Connecting to %1 on %2...</source>
        <translation>Verbinde mit %1 an %2...</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Verbinden mit %1</translation>
    </message>
    <message>
        <source>Going offline</source>
        <translation>Verbindung wird getrennt</translation>
    </message>
    <message>
        <source>%1 is no longer in the port list</source>
        <translation>%1 ist nicht mehr in der Portliste</translation>
    </message>
    <message>
        <source>Reading parameters %1 / %2: %3</source>
        <translation>Lese Parameter %1 / %2: %3</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>%1 runs when the current transfer has ended</source>
        <translation>%1 läuft, sobald die laufende Übertragung beendet ist</translation>
    </message>
    <message>
        <source>%1 did not run: the sensor is no longer connected</source>
        <translation>%1 lief nicht: der Sensor ist nicht mehr verbunden</translation>
    </message>
</context>
<context>
    <name>SensorWindow</name>
    <message>
        <source>Save Settings</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Save sensor settings to file</source>
        <translation>Sensoreinstellungen in eine Datei speichern</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Open a saved sensor from file</source>
        <translation>Gespeicherten Sensor aus einer Datei öffnen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Supported sensors</source>
        <translation>Unterstützte Sensoren</translation>
    </message>
    <message>
        <source>DefaultSettings</source>
        <translation>Werkseinstellungen</translation>
    </message>
    <message>
        <source>Restore sensor&apos;s default settings</source>
        <translation>Werkseinstellungen des Sensors wiederherstellen</translation>
    </message>
    <message>
        <source>Export Chart Data</source>
        <translation>Diagrammdaten exportieren</translation>
    </message>
    <message>
        <source>Export chart data to file</source>
        <translation>Diagrammdaten in eine Datei exportieren</translation>
    </message>
    <message>
        <source>Enable live data</source>
        <translation>Live-Daten einschalten</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
    <message>
        <source>Clear chart history</source>
        <translation>Diagrammverlauf löschen</translation>
    </message>
    <message>
        <source>Print chart view</source>
        <translation>Diagrammansicht drucken</translation>
    </message>
    <message>
        <source>Print current chart view</source>
        <translation>Aktuelle Diagrammansicht drucken</translation>
    </message>
    <message>
        <source>Export chart view</source>
        <translation>Diagrammansicht exportieren</translation>
    </message>
    <message>
        <source>Export current chart view</source>
        <translation>Aktuelle Diagrammansicht exportieren</translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation>Ausgang 1</translation>
    </message>
    <message>
        <source>Output 1 led</source>
        <translation>LED Ausgang 1</translation>
    </message>
    <message>
        <source>Output 2</source>
        <translation>Ausgang 2</translation>
    </message>
    <message>
        <source>Output 2 led</source>
        <translation>LED Ausgang 2</translation>
    </message>
    <message>
        <source>Output 3</source>
        <translation>Ausgang 3</translation>
    </message>
    <message>
        <source>read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Switch to FP</source>
        <translation>Zu FP wechseln</translation>
    </message>
    <message>
        <source>Write mode</source>
        <translation>Schreibmodus</translation>
    </message>
    <message>
        <source>Read Thresholds</source>
        <translation>Schaltpunkte lesen</translation>
    </message>
    <message>
        <source>writings</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>File Tool Bar</source>
        <translation>Datei-Werkzeugleiste</translation>
    </message>
    <message>
        <source>Sensor Operations Tool Bar</source>
        <translation>Werkzeugleiste Sensorfunktionen</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>Werkzeugleiste</translation>
    </message>
</context>
<context>
    <name>ValueConfirmations</name>
    <message>
        <source>not read from the sensor yet</source>
        <translation>noch nicht vom Sensor gelesen</translation>
    </message>
    <message>
        <source>not yet written</source>
        <translation>noch nicht geschrieben</translation>
    </message>
    <message>
        <source>refused by the sensor</source>
        <translation>vom Sensor abgelehnt</translation>
    </message>
    <message>
        <source>sensor offline since %1</source>
        <translation>Sensor offline seit %1</translation>
    </message>
</context>
<context>
    <name>connectionSwitchingDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Sensor settings will be overwritten with the ones from PC</source>
        <translation>Die Sensoreinstellungen werden mit denen vom PC überschrieben</translation>
    </message>
    <message>
        <source>PC -&gt; Sensor</source>
        <translation>PC -&gt; Sensor</translation>
    </message>
    <message>
        <source>PC settings will be overwritten with the ones from the Sensor</source>
        <translation>Die PC-Einstellungen werden mit denen vom Sensor überschrieben</translation>
    </message>
    <message>
        <source>Sensor -&gt; PC</source>
        <translation>Sensor -&gt; PC</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
