-- NyData.mdb: light sources, lumen-method luminaire catalogue, illuminance standards and
-- surface reflectances. The coefficient tables named in [灯具型号] are in NyData_cu.sql.
-- Sources: data/SOURCES.md.

-- Light sources: flux of one lamp in lm; typical values. An empty manufacturer means none given.
CREATE TABLE [光源] ([光源名称] TEXT, [光源型号] TEXT, [功率] INTEGER, [光通量] INTEGER, [生产厂家] TEXT);
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T8',18,1350,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T8',30,2400,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T8',36,3350,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T8',58,5200,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T5',14,1250,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T5',21,1900,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T5',28,2600,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T5',35,3300,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','T5',54,4450,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','YZ18RR',18,1350,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('荧光灯','YZ36RR',36,3350,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-D',13,900,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-D',18,1200,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-D',26,1800,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-DEL',18,1200,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-DEL',26,1800,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-DEL',32,2400,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('紧凑型荧光灯','TC-DEL',42,3200,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH',70,5600,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH',100,8500,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH',150,13500,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH',250,20500,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH',400,36000,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH-T',70,5600,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('金属卤化物灯','MH-T',150,13500,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG',70,6600,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG',100,9500,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG',150,16000,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG',250,28500,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG',400,50000,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG-T',250,28500,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('高压钠灯','NG-T',400,50000,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('白炽灯','PZ',40,430,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('白炽灯','PZ',60,730,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('白炽灯','PZ',100,1380,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('卤钨灯','LZG',50,850,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('卤钨灯','LZG',100,1800,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('卤钨灯','MR16',50,850,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('LED','T8-600',9,1000,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('LED','T8-1200',18,2000,'通用');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('LED','LED-D12',12,1350,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('LED','LED-D24',24,2800,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('LED','LED-36',36,4200,'');
INSERT INTO [光源] (光源名称,光源型号,功率,光通量,生产厂家) VALUES ('LED','LED-GK100',100,13000,'通用');

-- Lumen-method catalogue. [名称]: designations, each followed by ^. [距高比]: largest spacing
-- that keeps the illuminance midway between two luminaires at 70 % of that beneath one (the
-- smaller of the two planes). [位图]: picture in the folder 照度曲线.
CREATE TABLE [灯具型号] ([光源名称] TEXT, [灯具型号] TEXT, [名称] TEXT, [距高比] REAL, [生产厂家] TEXT,
  [位图] TEXT, [利用系数表] TEXT);
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('荧光灯','YG701-3','格栅荧光灯^嵌入式格栅荧光灯^',1.3,'通用','YG701-3.bmp','荧光灯YG701-3');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('荧光灯','YG2-2','简式荧光灯^带反射罩荧光灯^',1.4,'','YG2-2.bmp','荧光灯YG2-2');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('荧光灯','YG1-1','裸管荧光灯^',1.0,'','YG1-1.bmp','荧光灯YG1-1');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('紧凑型荧光灯','TD-150','筒灯^嵌入式筒灯^',1.0,'通用','TD-150.bmp','紧凑型荧光灯TD-150');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('紧凑型荧光灯','TD-100','窄配光筒灯^',0.7,'','TD-100.bmp','紧凑型荧光灯TD-100');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('LED','LED-P600','LED平板灯^',1.5,'通用','LED-P600.bmp','LEDLED-P600');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('LED','GK-100','LED工矿灯^',1.2,'','GK-100.bmp','LEDGK-100');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('金属卤化物灯','GC-400','金卤工矿灯^',1.2,'通用','GC-400.bmp','金属卤化物灯GC-400');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('高压钠灯','GC-250','钠灯工矿灯^',1.2,'','GC-250.bmp','高压钠灯GC-250');
INSERT INTO [灯具型号] (光源名称,灯具型号,名称,距高比,生产厂家,位图,利用系数表) VALUES ('卤钨灯','TD-80','射灯^',0.7,'','TD-80.bmp','卤钨灯TD-80');

-- Illuminance standard: categories, in order, each with a table of places copied from the
-- template. Limits of 0: the standard sets none for that place.
CREATE TABLE [照度标准模板] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
CREATE TABLE [照度标准] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所] TEXT);
INSERT INTO [照度标准] (场所) VALUES ('居住建筑');
INSERT INTO [照度标准] (场所) VALUES ('办公建筑');
INSERT INTO [照度标准] (场所) VALUES ('商业建筑');
INSERT INTO [照度标准] (场所) VALUES ('旅馆建筑');
INSERT INTO [照度标准] (场所) VALUES ('医院建筑');
INSERT INTO [照度标准] (场所) VALUES ('学校建筑');
INSERT INTO [照度标准] (场所) VALUES ('公用场所');
INSERT INTO [照度标准] (场所) VALUES ('工业建筑');

CREATE TABLE [居住建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [居住建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('起居室',100,7.0,6.0,0,80);
INSERT INTO [居住建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('卧室',75,7.0,6.0,0,80);
INSERT INTO [居住建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('餐厅',150,7.0,6.0,0,80);
INSERT INTO [居住建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('厨房',100,7.0,6.0,0,80);
INSERT INTO [居住建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('卫生间',100,7.0,6.0,0,80);

CREATE TABLE [办公建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('普通办公室',300,11.0,9.0,19,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('高档办公室',500,18.0,15.0,19,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('会议室',300,11.0,9.0,19,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('接待室、前台',300,11.0,9.0,0,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('营业厅',300,13.0,11.0,22,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('设计室',500,18.0,15.0,19,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('文件整理、复印、发行室',300,11.0,9.0,0,80);
INSERT INTO [办公建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('资料、档案室',200,8.0,7.0,0,80);

CREATE TABLE [商业建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [商业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('一般商店营业厅',300,12.0,10.0,22,80);
INSERT INTO [商业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('高档商店营业厅',500,19.0,16.0,22,80);
INSERT INTO [商业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('一般超市营业厅',300,13.0,11.0,22,80);
INSERT INTO [商业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('高档超市营业厅',500,20.0,17.0,22,80);
INSERT INTO [商业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('收款台',500,0.0,0.0,0,80);

CREATE TABLE [旅馆建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('客房',150,15.0,13.0,0,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('中餐厅',200,13.0,11.0,22,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('西餐厅、酒吧间、咖啡厅',100,0.0,0.0,0,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('多功能厅',300,18.0,15.0,22,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('门厅、总服务台',300,15.0,13.0,0,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('休息厅',200,0.0,0.0,22,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('客房层走廊',50,5.0,4.0,0,80);
INSERT INTO [旅馆建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('厨房',200,0.0,0.0,0,80);

CREATE TABLE [医院建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('治疗室',300,11.0,9.0,19,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('化验室',500,18.0,15.0,19,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('手术室',750,30.0,25.0,19,90);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('诊室',300,11.0,9.0,19,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('候诊室、挂号厅',200,8.0,7.0,22,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('病房',100,6.0,5.0,19,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('护士站',300,11.0,9.0,0,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('药房',500,20.0,17.0,19,80);
INSERT INTO [医院建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('重症监护室',300,11.0,9.0,19,90);

CREATE TABLE [学校建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [学校建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('教室',300,11.0,9.0,19,80);
INSERT INTO [学校建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('阅览室',300,11.0,9.0,19,80);
INSERT INTO [学校建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('实验室',300,11.0,9.0,19,80);
INSERT INTO [学校建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('美术教室',500,18.0,15.0,19,90);
INSERT INTO [学校建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('多媒体教室',300,11.0,9.0,19,80);
INSERT INTO [学校建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('教室黑板',500,0.0,0.0,0,80);

CREATE TABLE [公用场所] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('门厅(普通)',100,0.0,0.0,0,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('门厅(高档)',200,0.0,0.0,0,80);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('走廊、流动区域(普通)',50,0.0,0.0,0,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('走廊、流动区域(高档)',100,0.0,0.0,0,80);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('楼梯、平台(普通)',30,0.0,0.0,0,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('楼梯、平台(高档)',75,0.0,0.0,0,80);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('厕所、盥洗室、浴室(普通)',75,0.0,0.0,0,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('电梯前厅(普通)',75,0.0,0.0,0,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('休息室',100,0.0,0.0,22,80);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('储藏室、仓库',100,0.0,0.0,0,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('车库停车间',75,0.0,0.0,28,60);
INSERT INTO [公用场所] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('车库检修间',200,0.0,0.0,25,60);

-- Typical values for general workshops.
CREATE TABLE [工业建筑] (ID INTEGER PRIMARY KEY AUTOINCREMENT, [场所名称] TEXT, [照度] INTEGER, [现行功率密度] REAL, [目标功率密度] REAL, [统一眩光] REAL, [显色指数] INTEGER);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('机械加工粗加工',200,8.0,7.0,22,60);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('机械加工一般加工',300,12.0,11.0,22,60);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('机械加工精密加工',500,19.0,17.0,19,60);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('机电装配一般',300,12.0,11.0,25,80);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('配电装置室',200,8.0,7.0,0,60);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('变压器室',100,5.0,4.0,0,20);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('控制室一般',300,11.0,10.0,22,80);
INSERT INTO [工业建筑] (场所名称,照度,现行功率密度,目标功率密度,统一眩光,显色指数) VALUES ('锅炉房',100,5.0,4.0,0,60);

-- Surface reflectances; colour 无: the material has no colour variants.
CREATE TABLE [物体反射率] ([物体] TEXT, [颜色] TEXT, [反射率] REAL);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('粉刷','无',0.75);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('喷白','无',0.80);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('砂浆','无',0.32);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('混凝土','无',0.20);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('砖墙','红砖',0.33);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('砖墙','灰砖',0.23);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('釉面墙','白色',0.80);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('釉面墙','黄绿色',0.62);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('釉面墙','粉色',0.65);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('釉面墙','天蓝色',0.55);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('釉面墙','黑色',0.08);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('水磨石','白色',0.70);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('水磨石','白间灰黑',0.52);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('水磨石','白间绿',0.66);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('水磨石','黑灰色',0.10);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('大理石','白色',0.60);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('大理石','乳白间绿',0.39);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('大理石','红色',0.32);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('大理石','黑色',0.08);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('沥青','无',0.10);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('调和漆','白色及米黄',0.70);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('调和漆','中黄色',0.57);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('塑料贴面','浅黄木纹',0.36);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('塑料贴面','中黄木纹',0.30);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('塑料贴面','深棕木纹',0.12);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('塑料壁纸','黄白色',0.72);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('塑料壁纸','蓝白色',0.61);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('塑料壁纸','浅粉白色',0.65);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','白色',0.59);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','浅蓝色',0.42);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','浅咖啡色',0.31);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','绿色',0.25);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','深咖啡色',0.20);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','黑色',0.10);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('马赛克','灰色',0.28);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('钢板','无',0.15);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('玻璃','普通',0.08);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('玻璃','磨砂',0.20);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('玻璃','乳白',0.65);
INSERT INTO [物体反射率] (物体,颜色,反射率) VALUES ('玻璃','镜面',0.90);
