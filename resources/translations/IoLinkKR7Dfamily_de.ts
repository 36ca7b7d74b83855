<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
