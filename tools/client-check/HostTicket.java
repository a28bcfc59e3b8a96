// Gets a service ticket for host/HOST with a password, through Java's own Kerberos (Krb5LoginModule, GSS).
import java.security.PrivilegedExceptionAction;
import java.util.Map;
import javax.security.auth.Subject;
import javax.security.auth.callback.Callback;
import javax.security.auth.callback.NameCallback;
import javax.security.auth.callback.PasswordCallback;
import javax.security.auth.kerberos.KerberosTicket;
import javax.security.auth.login.AppConfigurationEntry;
import javax.security.auth.login.Configuration;
import javax.security.auth.login.LoginContext;
import org.ietf.jgss.GSSContext;
import org.ietf.jgss.GSSManager;
import org.ietf.jgss.GSSName;
import org.ietf.jgss.Oid;

// Usage: java -Djava.security.krb5.conf=FILE HostTicket.java USER@REALM PASSWORD HOST
public class HostTicket {
    public static void main(String[] args) throws Exception {
        Configuration login = new Configuration() {
            @Override
            public AppConfigurationEntry[] getAppConfigurationEntry(String name) {
                return new AppConfigurationEntry[] {new AppConfigurationEntry(
                    "com.sun.security.auth.module.Krb5LoginModule",
                    AppConfigurationEntry.LoginModuleControlFlag.REQUIRED, Map.of("principal", args[0]))};
            }
        };
        LoginContext context = new LoginContext("host_ticket", null, callbacks -> {
            for (Callback callback : callbacks) {
                if (callback instanceof NameCallback)
                    ((NameCallback) callback).setName(args[0]);
                if (callback instanceof PasswordCallback)
                    ((PasswordCallback) callback).setPassword(args[1].toCharArray());
            }
        }, login);
        try {
            context.login();
            // The service by host name: Java picks its realm from [domain_realm] or default_realm.
            Subject.doAs(context.getSubject(), (PrivilegedExceptionAction<Void>) () -> {
                GSSManager manager = GSSManager.getInstance();
                GSSName service = manager.createName("host@" + args[2], GSSName.NT_HOSTBASED_SERVICE);
                GSSContext gss = manager.createContext(service, new Oid("1.2.840.113554.1.2.2"), null,
                                                       GSSContext.DEFAULT_LIFETIME);
                gss.initSecContext(new byte[0], 0, 0);
                return null;
            });
            // The service ticket joins the subject's credentials.
            for (KerberosTicket ticket : context.getSubject().getPrivateCredentials(KerberosTicket.class))
                if (!ticket.getServer().getName().startsWith("krbtgt/"))
                    System.out.println("ticket for " + ticket.getServer().getName());
        } catch (Exception failure) {
            Throwable cause = failure;
            while (cause.getCause() != null)
                cause = cause.getCause();
            System.out.println("failed: " + cause);
            System.exit(1);
        }
    }
}
