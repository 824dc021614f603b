-- ZirIrodoDot.mdb: luminaire catalogue of the point method, one distribution-curve table per
-- luminaire, remembered lamps per luminaire, Guth position index. Sources: data/SOURCES.md.

CREATE TABLE [灯具型号] ([光源名称] TEXT, [灯具型号] TEXT, [生产厂家] TEXT, [配光曲线表] TEXT);
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('荧光灯','YG701-3','通用','荧光灯YG701-3配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('荧光灯','YG2-2','','荧光灯YG2-2配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('荧光灯','YG1-1','','荧光灯YG1-1配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('紧凑型荧光灯','TD-150','通用','紧凑型荧光灯TD-150配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('紧凑型荧光灯','TD-100','','紧凑型荧光灯TD-100配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('LED','LED-P600','通用','LEDLED-P600配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('LED','GK-100','','LEDGK-100配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('金属卤化物灯','GC-400','通用','金属卤化物灯GC-400配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('高压钠灯','GC-250','','高压钠灯GC-250配光曲线');
INSERT INTO [灯具型号] (光源名称,灯具型号,生产厂家,配光曲线表) VALUES ('卤钨灯','TD-80','','卤钨灯TD-80配光曲线');

-- Curves: cd per 1000 lamp lumens at 0, 5, ... 90 degrees; A-A plane (C0) and B-B plane (C90).

-- 荧光灯 YG701-3: grille troffer, batwing across the lamps
CREATE TABLE [荧光灯YG701-3配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (0,230,230);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (5,232,228);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (10,236,222);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (15,240,212);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (20,242,198);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (25,240,180);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (30,232,158);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (35,216,134);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (40,195,108);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (45,168,82);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (50,135,58);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (55,98,36);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (60,62,18);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (65,32,7);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (70,12,2);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (75,4,1);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (80,1,0);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [荧光灯YG701-3配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- 荧光灯 YG2-2: wide reflector
CREATE TABLE [荧光灯YG2-2配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (0,300,300);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (5,298,298);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (10,293,293);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (15,284,284);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (20,272,272);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (25,257,257);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (30,239,239);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (35,218,218);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (40,195,195);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (45,170,170);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (50,143,143);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (55,115,115);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (60,87,87);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (65,60,60);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (70,36,36);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (75,17,17);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (80,6,6);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (85,1,1);
INSERT INTO [荧光灯YG2-2配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- 荧光灯 YG1-1: bare batten
CREATE TABLE [荧光灯YG1-1配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (0,150,150);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (5,150,145);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (10,149,135);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (15,147,120);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (20,145,104);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (25,142,88);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (30,139,72);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (35,135,58);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (40,131,45);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (45,126,34);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (50,121,25);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (55,115,17);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (60,109,11);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (65,102,6);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (70,95,3);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (75,88,1);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (80,80,0);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (85,72,0);
INSERT INTO [荧光灯YG1-1配光曲线] (角度,光强A,光强B) VALUES (90,64,0);

-- 紧凑型荧光灯 TD-150: medium downlight
CREATE TABLE [紧凑型荧光灯TD-150配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (0,600,600);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (5,590,590);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (10,560,560);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (15,510,510);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (20,445,445);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (25,370,370);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (30,290,290);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (35,210,210);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (40,140,140);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (45,85,85);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (50,45,45);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (55,20,20);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (60,8,8);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (65,3,3);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (70,1,1);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (75,0,0);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (80,0,0);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [紧凑型荧光灯TD-150配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- 紧凑型荧光灯 TD-100: narrow downlight
CREATE TABLE [紧凑型荧光灯TD-100配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (0,900,900);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (5,860,860);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (10,760,760);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (15,610,610);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (20,440,440);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (25,290,290);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (30,170,170);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (35,90,90);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (40,45,45);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (45,20,20);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (50,8,8);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (55,3,3);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (60,1,1);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (65,0,0);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (70,0,0);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (75,0,0);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (80,0,0);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [紧凑型荧光灯TD-100配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- LED LED-P600: opal diffuser
CREATE TABLE [LEDLED-P600配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (0,223,223);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (5,222,222);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (10,219,219);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (15,215,215);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (20,209,209);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (25,202,202);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (30,193,193);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (35,183,183);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (40,171,171);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (45,158,158);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (50,143,143);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (55,128,128);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (60,111,111);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (65,94,94);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (70,76,76);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (75,58,58);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (80,39,39);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (85,19,19);
INSERT INTO [LEDLED-P600配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- LED GK-100: high bay, medium beam
CREATE TABLE [LEDGK-100配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (0,480,480);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (5,475,475);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (10,460,460);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (15,435,435);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (20,400,400);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (25,355,355);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (30,300,300);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (35,240,240);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (40,175,175);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (45,115,115);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (50,65,65);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (55,30,30);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (60,10,10);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (65,3,3);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (70,1,1);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (75,0,0);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (80,0,0);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [LEDGK-100配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- 金属卤化物灯 GC-400: high bay, medium beam
CREATE TABLE [金属卤化物灯GC-400配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (0,480,480);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (5,475,475);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (10,460,460);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (15,435,435);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (20,400,400);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (25,355,355);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (30,300,300);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (35,240,240);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (40,175,175);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (45,115,115);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (50,65,65);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (55,30,30);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (60,10,10);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (65,3,3);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (70,1,1);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (75,0,0);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (80,0,0);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [金属卤化物灯GC-400配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- 高压钠灯 GC-250: high bay, medium beam
CREATE TABLE [高压钠灯GC-250配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (0,480,480);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (5,475,475);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (10,460,460);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (15,435,435);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (20,400,400);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (25,355,355);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (30,300,300);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (35,240,240);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (40,175,175);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (45,115,115);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (50,65,65);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (55,30,30);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (60,10,10);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (65,3,3);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (70,1,1);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (75,0,0);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (80,0,0);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [高压钠灯GC-250配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- 卤钨灯 TD-80: narrow downlight
CREATE TABLE [卤钨灯TD-80配光曲线] ([角度] INTEGER, [光强A] INTEGER, [光强B] INTEGER);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (0,900,900);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (5,860,860);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (10,760,760);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (15,610,610);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (20,440,440);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (25,290,290);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (30,170,170);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (35,90,90);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (40,45,45);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (45,20,20);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (50,8,8);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (55,3,3);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (60,1,1);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (65,0,0);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (70,0,0);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (75,0,0);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (80,0,0);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (85,0,0);
INSERT INTO [卤钨灯TD-80配光曲线] (角度,光强A,光强B) VALUES (90,0,0);

-- Lamps remembered per luminaire name and model as found in drawings. The last row holds only
-- the substitute curve of a luminaire that is not in the catalogue.
CREATE TABLE [默认光源] ([灯具名称] TEXT, [灯具型号] TEXT, [配光曲线表] TEXT, [光源名称] TEXT,
  [光源型号] TEXT, [功率] INTEGER, [镇流器功率] INTEGER, [数量] INTEGER, [光源名称1] TEXT,
  [光源型号1] TEXT, [功率1] INTEGER, [镇流器功率1] INTEGER, [数量1] INTEGER, [光通量] INTEGER);
INSERT INTO [默认光源] (配光曲线表,光源名称,光源型号,功率,镇流器功率,数量,光源名称1,光源型号1,功率1,镇流器功率1,数量1,光通量,灯具型号,灯具名称) VALUES ('荧光灯YG701-3配光曲线','荧光灯','T8',36,4,3,'','',0,0,0,10050,'YG701-3','格栅荧光灯');
INSERT INTO [默认光源] (配光曲线表,光源名称,光源型号,功率,镇流器功率,数量,光源名称1,光源型号1,功率1,镇流器功率1,数量1,光通量,灯具型号,灯具名称) VALUES ('紧凑型荧光灯TD-150配光曲线','紧凑型荧光灯','TC-DEL',26,3,1,'','',0,0,0,1800,'TD-150','筒灯');
INSERT INTO [默认光源] (配光曲线表,光源名称,光源型号,功率,镇流器功率,数量,光源名称1,光源型号1,功率1,镇流器功率1,数量1,光通量,灯具型号,灯具名称) VALUES ('LEDLED-P600配光曲线','LED','LED-36',36,0,1,'','',0,0,0,4200,'LED-P600','LED平板灯');
INSERT INTO [默认光源] (配光曲线表,灯具名称,灯具型号) VALUES ('荧光灯YG2-2配光曲线','壁灯','BD-01');

-- Guth position index. One row per H/R x 10 ([H_R] 0..30), one column per T/R x 10 ([0]..[19]):
-- the cell at row h, column t is the index at T/R = t/10, H/R = h/10. NULL where the index is
-- void and for H/R 2.0 and above: such a luminaire is not counted.
CREATE TABLE [古斯位置指数] ([H_R] INTEGER, [0] REAL, [1] REAL, [2] REAL, [3] REAL, [4] REAL, [5] REAL, [6] REAL, [7] REAL, [8] REAL, [9] REAL, [10] REAL, [11] REAL, [12] REAL, [13] REAL, [14] REAL, [15] REAL, [16] REAL, [17] REAL, [18] REAL, [19] REAL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (0,1.00,1.05,1.12,1.22,1.32,1.43,1.55,1.70,1.82,1.95,2.11,2.30,2.40,2.55,2.70,2.85,2.95,3.10,3.25,3.43);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (1,1.26,1.22,1.30,1.38,1.47,1.60,1.72,1.88,2.00,2.20,2.40,2.55,2.75,2.90,3.10,3.15,3.40,3.55,3.70,3.86);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (2,1.53,1.45,1.50,1.60,1.70,1.82,1.98,2.12,2.32,2.54,2.75,2.92,3.12,3.30,3.50,3.65,3.80,4.00,4.20,4.30);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (3,1.90,1.80,1.80,1.87,1.96,2.10,2.30,2.48,2.70,2.90,3.10,3.30,3.50,3.70,3.90,4.10,4.25,4.50,4.65,4.75);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (4,2.35,2.20,2.20,2.25,2.35,2.48,2.65,2.87,3.08,3.30,3.50,3.72,3.90,4.20,4.35,4.55,4.75,4.90,5.10,5.20);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (5,2.86,2.75,2.66,2.70,2.80,2.91,3.10,3.30,3.50,3.70,3.91,4.20,4.35,4.65,4.85,5.00,5.20,5.40,5.60,5.70);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (6,3.50,3.40,3.18,3.25,3.30,3.40,3.60,3.78,3.92,4.20,4.40,4.70,4.85,5.20,5.35,5.50,5.75,5.95,6.10,6.30);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (7,4.20,4.10,3.88,3.90,3.90,3.98,4.10,4.30,4.50,4.75,5.00,5.25,5.50,5.70,5.85,6.20,6.30,6.50,6.75,6.90);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (8,5.00,4.80,4.60,4.60,4.60,4.70,4.80,4.88,5.10,5.30,5.60,5.80,6.05,6.30,6.50,6.80,7.00,7.20,7.40,7.50);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (9,6.00,5.80,5.50,5.45,5.40,5.50,5.50,5.60,5.75,6.00,6.20,6.55,6.70,7.00,7.25,7.50,7.65,7.80,8.00,8.17);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (10,7.00,6.80,6.50,6.45,6.40,6.40,6.40,6.50,6.60,6.75,7.00,7.20,7.50,7.70,8.00,8.20,8.40,8.50,8.65,8.80);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (11,8.10,8.00,7.60,7.40,7.30,7.30,7.35,7.40,7.50,7.70,7.90,8.15,8.30,8.55,8.70,8.85,9.00,9.20,9.35,9.50);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (12,9.25,9.10,8.75,8.40,8.30,8.30,8.40,8.50,8.60,8.70,8.80,9.00,9.20,9.35,9.50,9.70,9.80,10.00,10.10,10.20);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (13,10.35,10.30,9.85,9.50,9.40,9.40,9.40,9.50,9.50,9.65,9.75,9.90,10.00,10.20,10.40,10.55,10.80,10.85,11.00,11.00);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (14,11.70,11.60,11.20,10.85,10.60,10.50,10.50,10.50,10.60,10.75,10.80,10.95,11.02,11.20,11.40,11.50,11.75,11.85,11.90,12.00);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (15,13.15,13.00,12.70,12.10,11.90,11.75,11.70,11.70,11.75,11.80,11.90,12.00,12.10,12.25,12.40,12.50,12.60,12.75,12.80,12.82);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (16,14.70,14.60,14.00,13.70,13.20,13.00,13.00,12.85,12.80,12.90,12.95,13.00,13.10,13.20,13.25,13.30,13.40,13.45,13.50,13.55);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (17,16.20,16.10,15.70,15.00,14.60,14.40,14.10,14.00,14.00,14.00,14.00,14.00,14.00,14.00,14.05,14.05,14.20,14.20,14.20,14.20);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (18,NULL,NULL,NULL,NULL,16.00,15.70,15.40,15.20,15.10,15.00,15.00,15.00,15.00,15.00,15.00,15.02,15.10,15.10,15.10,15.10);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (19,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,16.00,16.00,16.00,16.00,16.00,16.00,16.00,16.00,16.00,16.00,16.00);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (20,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (21,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (22,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (23,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (24,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (25,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (26,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (27,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (28,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (29,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO [古斯位置指数] ([H_R],[0],[1],[2],[3],[4],[5],[6],[7],[8],[9],[10],[11],[12],[13],[14],[15],[16],[17],[18],[19]) VALUES (30,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
