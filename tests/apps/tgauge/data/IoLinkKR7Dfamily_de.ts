<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>HostFixture</name>
    <message>
        <source>Pressure</source>
        <translation>Druck</translation>
    </message>
</context>
</TS>
