-- The demo company database of the host services: the suite's tables that the host's
-- services answer from, in the same SQLite file as the application server's own tables.
-- Table and column names follow the suite's convention (table code, then the two letters of
-- the table and a three-digit column number). This is step 1 of the schema component
-- "hostsvc"; later changes are new steps, never edits of this one.

-- Companies served by the host (CMSMA): the web-report site is configured here.
CREATE TABLE CMSMA(
    MA001 TEXT PRIMARY KEY,          -- company code
    MA002 TEXT NOT NULL,             -- full name
    MA003 TEXT NOT NULL,             -- short name
    MA004 TEXT NOT NULL DEFAULT '',  -- web-report site address
    MA005 TEXT NOT NULL DEFAULT '',  -- address
    MA006 TEXT NOT NULL DEFAULT ''   -- telephone
);

-- System settings of each company (Sys001 date form, Sys002 date separator, ...).
CREATE TABLE KVTSS(
    SS001 TEXT NOT NULL REFERENCES CMSMA(MA001),  -- company code
    SS002 TEXT NOT NULL,                          -- setting name
    SS003 TEXT NOT NULL DEFAULT '',               -- value
    SS004 TEXT NOT NULL DEFAULT '',               -- description
    PRIMARY KEY (SS001, SS002)
);

-- Message table: texts of the coded messages in simplified Chinese and English; "%s"
-- placeholders take the message's arguments.
CREATE TABLE KVTMS(
    MS001 TEXT NOT NULL,  -- kind letter
    MS002 TEXT NOT NULL,  -- six-digit number
    MS003 TEXT NOT NULL,  -- simplified Chinese text
    MS004 TEXT NOT NULL,  -- English text
    PRIMARY KEY (MS001, MS002)
);

-- Programs (ADMMB).
CREATE TABLE ADMMB(
    MB001 TEXT PRIMARY KEY,              -- program code
    MB002 TEXT NOT NULL,                 -- name (Chinese)
    MB003 TEXT NOT NULL,                 -- name (English)
    MB004 TEXT NOT NULL,                 -- system
    MB005 TEXT NOT NULL DEFAULT 'N',     -- Y: direct query not allowed
    MB006 TEXT NOT NULL DEFAULT 'N',     -- Y: log the runs (register direct queries)
    MB007 TEXT NOT NULL DEFAULT '',      -- client module file
    MB008 TEXT NOT NULL DEFAULT 'R'      -- kind: R report, T transaction, B batch
);

-- Page footers (kind 1) and sign-off blocks (kind 2) by six-character number (CMSMS).
CREATE TABLE CMSMS(
    MS001 TEXT NOT NULL CHECK (MS001 IN ('1', '2')),
    MS002 TEXT NOT NULL,                  -- number
    MS003 TEXT NOT NULL,                  -- name
    MS004 TEXT NOT NULL DEFAULT '',       -- line 1
    MS005 TEXT NOT NULL DEFAULT '',       -- line 2
    MS006 TEXT NOT NULL DEFAULT '',       -- line 3
    MS007 TEXT NOT NULL DEFAULT 'N',      -- Y: print on every page
    PRIMARY KEY (MS001, MS002)
);

-- Footer and sign-off defaults of each program (CMSMT).
CREATE TABLE CMSMT(
    MT001 TEXT PRIMARY KEY REFERENCES ADMMB(MB001),  -- program code
    MT002 TEXT NOT NULL DEFAULT '',    -- footer number
    MT003 TEXT NOT NULL DEFAULT 'Y',   -- Y: the user may change the footer
    MT004 TEXT NOT NULL DEFAULT 'N',   -- Y: footer on every page
    MT005 TEXT NOT NULL DEFAULT '',    -- footer line 1
    MT006 TEXT NOT NULL DEFAULT '',    -- footer line 2
    MT007 TEXT NOT NULL DEFAULT '',    -- footer line 3
    MT008 TEXT NOT NULL DEFAULT '',    -- sign-off number
    MT009 TEXT NOT NULL DEFAULT 'Y',   -- Y: the user may change the sign-off
    MT010 TEXT NOT NULL DEFAULT 'N',   -- Y: sign-off on every page
    MT011 TEXT NOT NULL DEFAULT '',    -- sign-off line 1
    MT012 TEXT NOT NULL DEFAULT '',    -- sign-off line 2
    MT013 TEXT NOT NULL DEFAULT ''     -- sign-off line 3
);

-- Repair departments (CMSME).
CREATE TABLE CMSME(
    ME001 TEXT PRIMARY KEY,          -- department code (up to 6 characters)
    ME002 TEXT NOT NULL,             -- name
    ME003 TEXT NOT NULL DEFAULT '',  -- English name
    ME004 TEXT NOT NULL DEFAULT '',  -- manager (user code)
    ME005 TEXT NOT NULL DEFAULT ''   -- telephone
);

-- Service stations (RMAMA).
CREATE TABLE RMAMA(
    MA001 TEXT PRIMARY KEY,                          -- station code (up to 10 characters)
    MA002 TEXT NOT NULL,                             -- name
    MA003 TEXT NOT NULL REFERENCES CMSME(ME001),     -- department
    MA004 TEXT NOT NULL DEFAULT '',                  -- city
    MA005 TEXT NOT NULL DEFAULT '',                  -- address
    MA006 TEXT NOT NULL DEFAULT ''                   -- telephone
);

-- Repairers (RMAMB).
CREATE TABLE RMAMB(
    MB001 TEXT PRIMARY KEY,                          -- repairer code (up to 10 characters)
    MB002 TEXT NOT NULL,                             -- name
    MB003 TEXT NOT NULL REFERENCES RMAMA(MA001),     -- station
    MB004 TEXT NOT NULL REFERENCES CMSME(ME001),     -- department
    MB005 TEXT NOT NULL DEFAULT '',                  -- mobile
    MB006 TEXT NOT NULL DEFAULT ''                   -- speciality
);

-- Customers (COPMA).
CREATE TABLE COPMA(
    MA001 TEXT PRIMARY KEY,          -- customer code (up to 10 characters)
    MA002 TEXT NOT NULL,             -- short name
    MA003 TEXT NOT NULL,             -- full name
    MA004 TEXT NOT NULL DEFAULT '',  -- contact
    MA005 TEXT NOT NULL DEFAULT '',  -- telephone
    MA006 TEXT NOT NULL DEFAULT '',  -- address
    MA007 TEXT NOT NULL DEFAULT ''   -- city
);

-- Repair orders (RMATC): a four-character document type and an eleven-character number.
CREATE TABLE RMATC(
    TC001 TEXT NOT NULL,                             -- document type
    TC002 TEXT NOT NULL,                             -- document number
    TC003 TEXT NOT NULL,                             -- document date yyyymmdd
    TC004 TEXT NOT NULL REFERENCES COPMA(MA001),     -- customer
    TC005 TEXT NOT NULL REFERENCES CMSME(ME001),     -- repair department
    TC006 TEXT NOT NULL REFERENCES RMAMA(MA001),     -- service station
    TC007 TEXT NOT NULL REFERENCES RMAMB(MB001),     -- repairer
    TC008 TEXT NOT NULL CHECK (TC008 IN ('Y', 'N', 'V')),  -- approved, not approved, void
    TC009 INTEGER NOT NULL CHECK (TC009 BETWEEN 0 AND 3),  -- in repair, passed on, at maker, done
    TC010 TEXT NOT NULL DEFAULT '',                  -- product
    TC011 TEXT NOT NULL DEFAULT '',                  -- serial number
    TC012 TEXT NOT NULL DEFAULT '',                  -- fault
    TC013 REAL NOT NULL DEFAULT 0,                   -- amount
    TC014 TEXT NOT NULL DEFAULT '',                  -- finished on yyyymmdd
    PRIMARY KEY (TC001, TC002)
);
CREATE INDEX RMATC_BY_DATE ON RMATC(TC003);

-- Users of the ERP system (KVTMA).
CREATE TABLE KVTMA(
    MA001 TEXT PRIMARY KEY,          -- user code
    MA002 TEXT NOT NULL,             -- name
    MA003 TEXT NOT NULL DEFAULT '',  -- mobile
    MA004 TEXT NOT NULL DEFAULT '',  -- e-mail
    MA005 TEXT NOT NULL DEFAULT ''   -- department
);

-- Portal settings (KVTINTMA).
CREATE TABLE KVTINTMA(
    MA001 TEXT PRIMARY KEY,          -- setting
    MA002 TEXT NOT NULL DEFAULT '',  -- description
    MA003 TEXT NOT NULL DEFAULT ''   -- value
);

-- Common phrases of the phrase window; user "*" is everybody's.
CREATE TABLE KVTPH(
    PH001 TEXT NOT NULL,  -- user code or *
    PH002 TEXT NOT NULL,  -- phrase code
    PH003 TEXT NOT NULL,  -- text
    PRIMARY KEY (PH001, PH002)
);

-- Files of the update share: stamp and server path for GetFileList.
CREATE TABLE KVTFL(
    FL001 TEXT PRIMARY KEY,  -- file name in lower case
    FL002 TEXT NOT NULL,     -- modification stamp yyyymmddhhnnss
    FL003 TEXT NOT NULL      -- path on the update share
);

-- Named counters of each company for GetCounter.
CREATE TABLE KVTCN(
    CN001 TEXT NOT NULL REFERENCES CMSMA(MA001),  -- company code
    CN002 TEXT NOT NULL,                          -- counter name in upper case
    CN003 INTEGER NOT NULL DEFAULT 0,             -- last value handed out
    CN004 INTEGER NOT NULL DEFAULT 6,             -- digits
    CN005 TEXT NOT NULL DEFAULT '',               -- prefix
    PRIMARY KEY (CN001, CN002)
);
