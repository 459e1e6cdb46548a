-- The empty notice database from which every imported file's database is copied.
-- Keys are whole numbers; coordinates in whole degrees, minutes and seconds; the frequency a
-- real number; every other value text. Columns have no defaults: Null means "not given".

CREATE TABLE fmtv_terra (
    terrakey    INTEGER PRIMARY KEY,
    adm         TEXT COLLATE NOCASE,
    notice_typ  TEXT,
    stn_cls     TEXT,
    d_adm_ntc   TEXT,
    fragment    TEXT,
    intent      TEXT,
    adm_ref_id  TEXT COLLATE NOCASE,
    call_sign   TEXT,
    stn_id      TEXT,
    freq_assgn  REAL,
    freq_stabl  TEXT,
    bdwdth      TEXT,
    oset_v_khz  TEXT,
    oset_v_12   TEXT,
    ctry        TEXT COLLATE NOCASE,
    site_name   TEXT,
    long_deg    INTEGER,
    long_min    INTEGER,
    long_sec    INTEGER,
    long_ew     TEXT COLLATE NOCASE,
    lat_deg     INTEGER,
    lat_min     INTEGER,
    lat_sec     INTEGER,
    lat_ns      TEXT COLLATE NOCASE,
    polar       TEXT COLLATE NOCASE,
    erp_h_dbw   TEXT,
    erp_v_dbw   TEXT,
    tran_sys    TEXT,
    color       TEXT,
    pwr_ratio   TEXT,
    hgt_agl     TEXT,
    site_alt    TEXT,
    eff_hgtmax  TEXT,
    op_agcy     TEXT,
    addr_code   TEXT,
    d_inuse     TEXT,
    ant_dir     TEXT,
    d_updated   TEXT,
    src_update  TEXT,
    Target      INTEGER
) STRICT;
CREATE INDEX fmtv_terra_freq_adm ON fmtv_terra (freq_assgn, adm);
CREATE INDEX fmtv_terra_ref_adm ON fmtv_terra (adm_ref_id, adm);

CREATE TABLE fmtv_target (
    Target          INTEGER PRIMARY KEY,
    trg_long_deg    TEXT,
    trg_long_min    TEXT,
    trg_long_sec    TEXT,
    trg_long_ew     TEXT,
    trg_lat_deg     TEXT,
    trg_lat_min     TEXT,
    trg_lat_sec     TEXT,
    trg_lat_ns      TEXT,
    trg_adm_ref_id  TEXT,
    trg_freq_assgn  TEXT
) STRICT;

CREATE TABLE fmtv_op_prd (
    terrakey  INTEGER,
    op_hh_fr  TEXT,
    op_hh_to  TEXT
) STRICT;
CREATE INDEX fmtv_op_prd_terrakey ON fmtv_op_prd (terrakey);

CREATE TABLE fmtv_rmks (
    terrakey    INTEGER,
    rmk_text    TEXT,
    rmk_seq_no  INTEGER
) STRICT;
CREATE INDEX fmtv_rmks_terrakey ON fmtv_rmks (terrakey, rmk_seq_no);

CREATE TABLE fmtv_coord (
    terrakey  INTEGER,
    adm       TEXT
) STRICT;
CREATE INDEX fmtv_coord_terrakey ON fmtv_coord (terrakey);

CREATE TABLE fmtv_ant_hgt (
    terrakey  INTEGER,
    azm       TEXT,
    eff_hgt   TEXT
) STRICT;
CREATE INDEX fmtv_ant_hgt_terrakey ON fmtv_ant_hgt (terrakey);

CREATE TABLE fmtv_ant_diag (
    terrakey  INTEGER,
    azm       TEXT,
    attn      TEXT,
    polar     TEXT
) STRICT;
CREATE INDEX fmtv_ant_diag_terrakey ON fmtv_ant_diag (terrakey, polar);

CREATE TABLE zel_elements (
    terrakey         INTEGER,
    sys_var          TEXT,
    nb_carr          TEXT,
    guard_interval   TEXT,
    rx_mode          TEXT,
    ref_plan_cfg     TEXT,
    typ_ref_netwk    TEXT,
    sfn_id           TEXT,
    sfn_tx_tim       TEXT,
    adm_allot_id     TEXT,
    spect_mask       TEXT,
    freq_block       TEXT,
    channel          TEXT,
    conv_freq_assgn  TEXT,
    conv_long_deg    TEXT,
    conv_long_min    TEXT,
    conv_long_sec    TEXT,
    conv_long_ew     TEXT,
    conv_lat_deg     TEXT,
    conv_lat_min     TEXT,
    conv_lat_sec     TEXT,
    conv_lat_ns      TEXT,
    email_addr       TEXT,
    coord_self       TEXT
) STRICT;
CREATE INDEX zel_elements_terrakey ON zel_elements (terrakey);

CREATE TABLE zel_sfnID_proc (
    terrakey      INTEGER,
    adm           TEXT,
    sfn_id        TEXT,
    notice_typ    TEXT,
    adm_allot_id  TEXT
) STRICT;
CREATE INDEX zel_sfnID_proc_terrakey ON zel_sfnID_proc (terrakey);

CREATE TABLE zel_allotment (
    terrakey      INTEGER,
    allotkey      INTEGER PRIMARY KEY,
    allot_name    TEXT,
    geo_area      TEXT,
    nb_sub_areas  TEXT
) STRICT;
CREATE INDEX zel_allotment_terrakey ON zel_allotment (terrakey);

CREATE TABLE zel_sub_area (
    allotkey    INTEGER,
    contourkey  INTEGER
) STRICT;
CREATE INDEX zel_sub_area_allotkey ON zel_sub_area (allotkey);
CREATE INDEX zel_sub_area_contourkey ON zel_sub_area (contourkey);

CREATE TABLE zel_contour (
    contourkey   INTEGER PRIMARY KEY,
    contour_id   INTEGER,
    ctry         TEXT COLLATE NOCASE,
    adm          TEXT COLLATE NOCASE,
    nb_test_pts  TEXT,
    remarks      TEXT
) STRICT;
CREATE INDEX zel_contour_id ON zel_contour (contour_id);

CREATE TABLE zel_contour_pt (
    contourkey  INTEGER,
    test_pt     INTEGER,
    long_deg    TEXT,
    long_min    TEXT,
    long_sec    TEXT,
    long_ew     TEXT,
    lat_deg     TEXT,
    lat_min     TEXT,
    lat_sec     TEXT,
    lat_ns      TEXT
) STRICT;
CREATE INDEX zel_contour_pt_contourkey ON zel_contour_pt (contourkey, test_pt);

CREATE TABLE zel_coord_analog_KOLV (
    terrakey  INTEGER,
    adm       TEXT
) STRICT;
CREATE INDEX zel_coord_analog_KOLV_terrakey ON zel_coord_analog_KOLV (terrakey);

CREATE TABLE zel_coord_other_service (
    terrakey  INTEGER,
    adm       TEXT
) STRICT;
CREATE INDEX zel_coord_other_service_terrakey ON zel_coord_other_service (terrakey);

-- The next free key of each kind.
CREATE TABLE Fmtv_keys (
    terrakey    INTEGER,
    allotkey    INTEGER,
    contourkey  INTEGER,
    Target      INTEGER
) STRICT;
INSERT INTO Fmtv_keys (terrakey, allotkey, contourkey, Target) VALUES (1, 1, 1, 1);
