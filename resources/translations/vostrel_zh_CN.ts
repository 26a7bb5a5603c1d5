<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>frmMain</name>
    <message>
        <source>Decimal</source>
        <translation>十进制</translation>
    </message>
    <message>
        <source>The value in decimal. Type digits; the other fields follow.</source>
        <translation>以十进制表示的数值。输入数字，其他字段随之更新。</translation>
    </message>
    <message>
        <source>Hexadecimal</source>
        <translation>十六进制</translation>
    </message>
    <message>
        <source>The value in hexadecimal. Type digits and A to F; the other fields follow.</source>
        <translation>以十六进制表示的数值。输入数字和 A 到 F，其他字段随之更新。</translation>
    </message>
    <message>
        <source>Binary</source>
        <translation>二进制</translation>
    </message>
    <message>
        <source>The value&apos;s 32-bit pattern in groups of eight bits. Read-only.</source>
        <translation>数值的 32 位二进制模式，每八位一组。只读。</translation>
    </message>
</context>
<context>
    <name>vostrel</name>
    <message>
        <source>Shows one signed 32-bit integer in decimal, hexadecimal and binary at once, in a thin strip that stays above all other windows.</source>
        <translation>在一个始终位于其他窗口之上的细长条中，同时以十进制、十六进制和二进制显示一个有符号 32 位整数。</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>意外的参数“%1”。</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>请尝试“%1 --help”以获取更多信息。</translation>
    </message>
    <message>
        <source>running as a native Wayland client: the window opens where the compositor puts it, its position is not remembered and it is not kept above other windows</source>
        <translation>正作为原生 Wayland 客户端运行：窗口出现在合成器安排的位置，不记住其位置，也不保持在其他窗口之上</translation>
    </message>
    <message>
        <source>cannot open the display %1: the window needs a graphical desktop</source>
        <translation>无法打开显示 %1：窗口需要图形桌面</translation>
    </message>
    <message>
        <source>cannot open the display (DISPLAY is not set): the window needs a graphical desktop</source>
        <translation>无法打开显示（未设置 DISPLAY）：窗口需要图形桌面</translation>
    </message>
</context>
</TS>
