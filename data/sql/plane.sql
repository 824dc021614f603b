-- plane.mdb: device kind per block-name key (first three characters of a block name, plus the
-- fourth when it is a capital letter). Only kind 灯具 marks a luminaire; an empty kind reads as
-- 其它, and when a key is listed twice the first specific kind wins (ZM5 stays a luminaire).

CREATE TABLE [平面设备表] ([种类] TEXT, [类型] TEXT);
INSERT INTO [平面设备表] (种类,类型) VALUES ('灯具','ZM1A');
INSERT INTO [平面设备表] (种类,类型) VALUES ('灯具','ZM2');
INSERT INTO [平面设备表] (种类,类型) VALUES ('灯具','ZM3B');
INSERT INTO [平面设备表] (种类,类型) VALUES ('灯具','ZM4');
INSERT INTO [平面设备表] (种类,类型) VALUES ('灯具','ZM5');
INSERT INTO [平面设备表] (种类,类型) VALUES ('开关','KG1');
INSERT INTO [平面设备表] (种类,类型) VALUES ('插座','CZ1');
INSERT INTO [平面设备表] (种类,类型) VALUES ('配电箱','PD1A');
INSERT INTO [平面设备表] (种类,类型) VALUES ('','QT1');
INSERT INTO [平面设备表] (种类,类型) VALUES ('开关','ZM5');
