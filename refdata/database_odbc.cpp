// The host's reference database through the platform's ODBC driver manager.
//
// The connection string goes to the driver as the host composed it. Each
// query is prepared, its values bound as character parameters, and run with
// the query timeout; rows are read forward only, every column as text. A
// failure raises the driver's first diagnostic: its native error number and
// message, with the password masked in case the driver quotes it.
#include <sql.h>
#include <sqlext.h>

#include "base/runtime.h"
#include "refdata/database.h"
#include "refdata/db_cursor.h"

namespace ub04 {

namespace {

// The environment and connection handles, freed together; shared with the
// cursors so a statement never outlives its connection.
struct OdbcHandles {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  bool connected = false;
  std::string connection_string;  // for masking driver messages only

  ~OdbcHandles() {
    if (connected) SQLDisconnect(dbc);
    if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

[[noreturn]] void RaiseFrom(SQLSMALLINT type, SQLHANDLE h, const OdbcHandles& c,
                            std::string_view what) {
  SQLCHAR state[6] = {0};
  SQLINTEGER native = 0;
  SQLCHAR text[1024] = {0};
  SQLSMALLINT len = 0;
  if (h != SQL_NULL_HANDLE &&
      Ok(SQLGetDiagRec(type, h, 1, state, &native, text, sizeof text, &len))) {
    std::string msg(reinterpret_cast<const char*>(text));
    if (msg.empty()) msg = std::string(what) + " failed (SQLSTATE " +
                           reinterpret_cast<const char*>(state) + ")";
    Raise(native, MaskPassword(std::move(msg), c.connection_string));
  }
  Raise(kErrInvalidCall, std::string(what) + " failed");
}

// A statement handle, freed with its owner.
struct StmtHandle {
  SQLHSTMT h = SQL_NULL_HSTMT;
  StmtHandle() = default;
  StmtHandle(const StmtHandle&) = delete;
  StmtHandle& operator=(const StmtHandle&) = delete;
  ~StmtHandle() {
    if (h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, h);
  }
};

class OdbcCursor : public RowCursor {
 public:
  OdbcCursor(std::shared_ptr<OdbcHandles> c, std::string_view sql,
             const std::vector<std::string>& params)
      : c_(std::move(c)), params_(params), lengths_(params.size()) {
    if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, c_->dbc, &stmt_.h)))
      RaiseFrom(SQL_HANDLE_DBC, c_->dbc, *c_, "SQLAllocHandle");
    // A driver that cannot time statements out still answers: the timeout
    // is a limit, not a condition of the query.
    SQLSetStmtAttr(stmt_.h, SQL_ATTR_QUERY_TIMEOUT,
                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kQueryTimeoutSeconds)), 0);
    std::string text(sql);
    if (!Ok(SQLPrepare(stmt_.h, reinterpret_cast<SQLCHAR*>(text.data()),
                       static_cast<SQLINTEGER>(text.size()))))
      Fail("SQLPrepare");
    for (size_t i = 0; i < params_.size(); ++i) {
      lengths_[i] = static_cast<SQLLEN>(params_[i].size());
      SQLULEN size = params_[i].empty() ? 1 : params_[i].size();
      if (!Ok(SQLBindParameter(stmt_.h, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                               SQL_C_CHAR, SQL_VARCHAR, size, 0, params_[i].data(),
                               lengths_[i], &lengths_[i])))
        Fail("SQLBindParameter");
    }
    SQLRETURN rc = SQLExecute(stmt_.h);
    std::vector<std::string> columns;
    if (rc != SQL_NO_DATA) {
      if (!Ok(rc)) Fail("SQLExecute");
      if (!Ok(SQLNumResultCols(stmt_.h, &ncols_))) Fail("SQLNumResultCols");
      for (SQLSMALLINT i = 1; i <= ncols_; ++i) {
        SQLCHAR name[256] = {0};
        SQLSMALLINT name_len = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN col_size = 0;
        if (!Ok(SQLDescribeCol(stmt_.h, i, name, sizeof name, &name_len, &type, &col_size,
                               &digits, &nullable)))
          Fail("SQLDescribeCol");
        columns.emplace_back(reinterpret_cast<const char*>(name));
      }
    }
    Start(std::move(columns));
  }

 protected:
  bool Fetch(std::vector<std::string>& row) override {
    if (ncols_ == 0) return false;  // a statement without a result set
    SQLRETURN rc = SQLFetch(stmt_.h);
    if (rc == SQL_NO_DATA) return false;
    if (!Ok(rc)) Fail("SQLFetch");
    row.assign(static_cast<size_t>(ncols_), std::string());
    for (SQLSMALLINT i = 1; i <= ncols_; ++i) ReadColumn(i, row[static_cast<size_t>(i - 1)]);
    return true;
  }

 private:
  // Reads column i as text, in pieces when it is longer than the buffer.
  void ReadColumn(SQLSMALLINT i, std::string& out) {
    char buf[512];
    for (;;) {
      SQLLEN ind = 0;
      SQLRETURN rc = SQLGetData(stmt_.h, static_cast<SQLUSMALLINT>(i), SQL_C_CHAR, buf, sizeof buf,
                                &ind);
      if (rc == SQL_NO_DATA) return;
      if (!Ok(rc)) Fail("SQLGetData");
      if (ind == SQL_NULL_DATA) return;
      bool more = ind == SQL_NO_TOTAL || ind >= static_cast<SQLLEN>(sizeof buf);
      out.append(buf, more ? sizeof buf - 1 : static_cast<size_t>(ind));
      if (!more) return;
    }
  }

  [[noreturn]] void Fail(std::string_view what) { RaiseFrom(SQL_HANDLE_STMT, stmt_.h, *c_, what); }

  std::shared_ptr<OdbcHandles> c_;
  std::vector<std::string> params_;  // bound by address until the statement is freed
  std::vector<SQLLEN> lengths_;
  SQLSMALLINT ncols_ = 0;
  StmtHandle stmt_;
};

class OdbcConnection : public DbConnection {
 public:
  explicit OdbcConnection(const std::string& connection_string)
      : c_(std::make_shared<OdbcHandles>()) {
    c_->connection_string = connection_string;
    if (!Ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &c_->env)))
      Raise(kErrInvalidCall, "The ODBC environment could not be created");
    if (!Ok(SQLSetEnvAttr(c_->env, SQL_ATTR_ODBC_VERSION,
                          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_OV_ODBC3)), 0)))
      RaiseFrom(SQL_HANDLE_ENV, c_->env, *c_, "SQLSetEnvAttr");
    if (!Ok(SQLAllocHandle(SQL_HANDLE_DBC, c_->env, &c_->dbc)))
      RaiseFrom(SQL_HANDLE_ENV, c_->env, *c_, "SQLAllocHandle");
    std::string cs = connection_string;
    SQLCHAR out[1024];
    SQLSMALLINT out_len = 0;
    if (!Ok(SQLDriverConnect(c_->dbc, nullptr, reinterpret_cast<SQLCHAR*>(cs.data()), SQL_NTS,
                             out, sizeof out, &out_len, SQL_DRIVER_NOPROMPT)))
      RaiseFrom(SQL_HANDLE_DBC, c_->dbc, *c_, "SQLDriverConnect");
    c_->connected = true;
  }

  std::unique_ptr<DbCursor> Query(std::string_view sql,
                                  const std::vector<std::string>& params) override {
    return std::make_unique<OdbcCursor>(c_, sql, params);
  }

 private:
  std::shared_ptr<OdbcHandles> c_;
};

}  // namespace

std::unique_ptr<DbConnection> OpenOdbcDatabase(const std::string& connection_string) {
  return std::make_unique<OdbcConnection>(connection_string);
}

}  // namespace ub04
